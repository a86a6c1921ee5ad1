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

// The frame of the last window the window manager has framed: the best guess for a window that is about
// to be shown for the first time, whose own frame is not known yet.
QMargins& lastKnownFrame()
{
    static QMargins frame;
    return frame;
}

class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget* window) : QObject(window), window_(window) {}

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        if (type == QEvent::Show && !shown_) {
            shown_ = true;
            centre();
        } else if (shown_ && (type == QEvent::Move || type == QEvent::Resize || type == QEvent::Paint) &&
                   frameMargins(window_) != centredWith_) {
            centre();
            window_->removeEventFilter(this);
            deleteLater();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void centre()
    {
        const QMargins known = frameMargins(window_);
        centredWith_ = known;
        if (!known.isNull())
            lastKnownFrame() = known;
        const QMargins frame = known.isNull() ? lastKnownFrame() : known;
        const QScreen* screen = window_->screen();
        if (!screen)
            return;
        QRect outer = window_->geometry().marginsAdded(frame);
        outer.moveCenter(screen->availableGeometry().center());
        // A window's position is that of its frame as the platform knows it; a frame still unknown is
        // put around the window afterwards.
        window_->move(outer.topLeft() + QPoint(frame.left() - known.left(), frame.top() - known.top()));
    }

    QWidget* window_;
    bool shown_ = false;
    QMargins centredWith_;
};

} // namespace

namespace ScreenCentre {

void onFirstShow(QWidget* window)
{
    window->installEventFilter(new FrameCentring(window));
}

} // namespace ScreenCentre
