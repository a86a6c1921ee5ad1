#include "ScreenCentre.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

namespace {

// The frame as the platform reports it; none until the window manager has framed the window.
QMargins frameMargins(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
            frame.bottom() - client.bottom()};
}

// Watches the window from its first show until its frame is known, then is gone. A window manager puts
// its frame around a window only after it is mapped, so the window is centred again then; a frame that is
// known at the show (Windows, client-side decorations) ends the watch at the first paint.
class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget* window) : QObject(window), window_(window)
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show && !shown_) {
            centre();
        } else if (shown_ && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint)) {
            const QMargins frame = frameMargins(window_);
            if (!frame.isNull()) {
                if (frame != centredWith_)
                    centre();
                window_->removeEventFilter(this);
                deleteLater();
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // A window's position is that of its frame as the platform knows it.
    void centre()
    {
        shown_ = true;
        centredWith_ = frameMargins(window_);
        const QScreen* screen = window_->screen();
        if (!screen)
            return;
        QRect outer = window_->geometry().marginsAdded(centredWith_);
        outer.moveCenter(screen->availableGeometry().center());
        window_->move(outer.topLeft());
    }

    QWidget* window_;
    bool shown_ = false;
    QMargins centredWith_;
};

} // namespace

namespace ScreenCentre {

void onFirstShow(QWidget* window)
{
    new FrameCentring(window);
}

} // namespace ScreenCentre
