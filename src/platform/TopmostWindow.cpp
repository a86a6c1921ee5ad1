#include "TopmostWindow.h"

#include <QWidget>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#endif

namespace TopmostWindow {

#ifdef Q_OS_WIN

void prepare(QWidget* window)
{
    window->setAttribute(Qt::WA_ShowWithoutActivating);
}

void show(QWidget* window)
{
    window->show();
    // The topmost band of the z-order, as the window manager of Windows keeps it; no move, no resize,
    // no activation.
    SetWindowPos(reinterpret_cast<HWND>(window->winId()), HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

#else

void prepare(QWidget* window)
{
    // On X11 the window manager keeps the window above (_NET_WM_STATE_ABOVE); the program can only ask
    // for it. Wayland has no such request (xdg-shell offers none) and Qt drops the hint there, so the
    // compositor stacks the window like any other.
    window->setWindowFlags(window->windowFlags() | Qt::Window | Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
}

void show(QWidget* window)
{
    window->show();
    window->raise();
}

#endif

} // namespace TopmostWindow
