#pragma once

class QWidget;

namespace ScreenCentre {

// Centres the window's frame, title bar and borders included, on its screen when it is first shown. A
// window manager puts its frame around a window only after it is mapped, so the window is centred again
// once, when the frame is known.
void onFirstShow(QWidget* window);

} // namespace ScreenCentre
