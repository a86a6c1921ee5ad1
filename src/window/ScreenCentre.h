#pragma once

class QWidget;

namespace ScreenCentre {

// Centres the window's frame, title bar and borders included, on its screen when it is first shown, and
// again as the window manager puts its frame around the window.
void onFirstShow(QWidget* window);

} // namespace ScreenCentre
