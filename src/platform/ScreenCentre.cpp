#include "ScreenCentre.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// Lives as long as the window until the frame is known: watches for the first show, then for the moves
// and resizes that come with the window manager's frame.
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
        if (event->type() == QEvent::Show) {
            window_->removeEventFilter(this);
            QWindow* handle = window_->windowHandle();
            centre();
            for (auto changed :
                 {&QWindow::xChanged, &QWindow::yChanged, &QWindow::widthChanged, &QWindow::heightChanged})
                connect(handle, changed, this, &FrameCentring::geometryChanged);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void geometryChanged()
    {
        if (window_->windowHandle()->frameMargins() == centredWith_)
            return;
        centre();
        deleteLater();
    }

    // A window's position is that of its frame as the platform knows it.
    void centre()
    {
        centredWith_ = window_->windowHandle()->frameMargins();
        const QScreen* screen = window_->screen();
        if (!screen)
            return;
        QRect outer = window_->geometry().marginsAdded(centredWith_);
        outer.moveCenter(screen->availableGeometry().center());
        window_->move(outer.topLeft());
    }

    QWidget* window_;
    QMargins centredWith_;
};

} // namespace

namespace ScreenCentre {

void onFirstShow(QWidget* window)
{
    new FrameCentring(window);
}

} // namespace ScreenCentre
