#pragma once

class QWidget;

namespace ScreenCentre {

// Centres the window's frame, title bar and borders included, on its screen's available area when it is
// first shown, and again as the window manager puts its frame around the window. Where the frame is
// larger than the area, its top-left corner goes to the area's.
void onFirstShow(QWidget* window);

} // namespace ScreenCentre
