#include "ScreenCentre.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
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

// Centres the window at its first show, then for a few seconds centres it again whenever its frame
// changes, and is gone. A window manager frames a window after it is mapped, sometimes in two steps
// (borders, then the title bar), and Qt sends the window no event when it does: the frame is looked at
// a few times a second instead.
class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget* window) : QObject(window), window_(window)
    {
        window->installEventFilter(this);
        timer_.setInterval(100);
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (frameMargins(window_) != centredWith_)
                centre();
            if (++looks_ == 50)
                deleteLater();
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            window_->removeEventFilter(this);
            centre();
            timer_.start();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // A window's position is that of its frame as the platform knows it.
    void centre()
    {
        centredWith_ = frameMargins(window_);
        const QScreen* screen = window_->screen();
        if (!screen)
            return;
        QRect outer = window_->geometry().marginsAdded(centredWith_);
        outer.moveCenter(screen->availableGeometry().center());
        window_->move(outer.topLeft());
    }

    QWidget* window_;
    QTimer timer_;
    int looks_ = 0;
    QMargins centredWith_;
};

} // namespace

namespace ScreenCentre {

void onFirstShow(QWidget* window)
{
    new FrameCentring(window);
}

} // namespace ScreenCentre
