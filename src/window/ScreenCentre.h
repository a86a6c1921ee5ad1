#pragma once

class QWidget;

namespace ScreenCentre {

// Centres the window's frame, title bar and borders included, on its screen when it is first shown, and
// again while the window manager puts its frame around the window after it is mapped.
void onFirstShow(QWidget* window);

} // namespace ScreenCentre
