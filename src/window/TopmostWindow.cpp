#include "TopmostWindow.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace TopmostWindow {

void prepare(QWidget* window)
{
    // Qt is told on every platform, so that its own record of the window (and any native window it makes
    // again for it) stays topmost. Flags are set before the first show: on a visible window they hide it.
    window->setWindowFlags(window->windowFlags() | Qt::Window | Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
}

#ifdef Q_OS_WIN

void show(QWidget* window)
{
    window->show();
    // The topmost band of the z-order, as the window manager of Windows keeps it; no move, no resize,
    // no activation.
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

#else

void show(QWidget* window)
{
    // A request to the X11 window manager (_NET_WM_STATE_ABOVE); Wayland has none, and Qt drops the hint.
    window->show();
    window->raise();
}

#endif

} // namespace TopmostWindow
