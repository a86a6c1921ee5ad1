#include "ScreenCentre.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace {

// Centres the window at its first show and whenever its frame changes until it has kept still for five
// seconds: Qt sends no event when the window manager frames a window, which may come late and in steps.
class FrameCentring : public QObject
{
public:
    explicit FrameCentring(QWidget* window) : QObject(window), window_(window)
    {
        window->installEventFilter(this);
        timer_.setInterval(100);
        connect(&timer_, &QTimer::timeout, this, [this] {
            if (margins() != centredWith_) {
                centre();
                stillLooks_ = 0;
            } else if (++stillLooks_ == (centredWith_.isNull() ? UnframedLooks : FramedLooks)) {
                deleteLater();
            }
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
    static constexpr int FramedLooks = 50;
    // With no window manager there is never a frame: give up after a minute.
    static constexpr int UnframedLooks = 600;

    // The window's own margins: QWidget::frameGeometry keeps the first frame it learnt of.
    QMargins margins() const
    {
        const QWindow* handle = window_->windowHandle();
        return handle ? handle->frameMargins() : QMargins();
    }

    void centre()
    {
        centredWith_ = margins();
        const QScreen* screen = window_->screen();
        if (!screen)
            return;
        const QRect area = screen->availableGeometry();
        QRect outer = window_->geometry().marginsAdded(centredWith_);
        outer.moveCenter(area.center());
        // A window larger than the screen keeps its title bar and left edge on it.
        outer.moveTopLeft({qMax(outer.left(), area.left()), qMax(outer.top(), area.top())});
        window_->setGeometry(outer.marginsRemoved(centredWith_));
    }

    QWidget* window_;
    QTimer timer_;
    int stillLooks_ = 0;
    QMargins centredWith_;
};

} // namespace

namespace ScreenCentre {

void onFirstShow(QWidget* window)
{
    new FrameCentring(window);
}

} // namespace ScreenCentre
