#pragma once

#include <QRect>

// Window layouts are given in twips: 15 twips make one logical pixel at 96 dpi. Converting once to
// logical pixels lets Qt's high-dpi scaling keep the layout at every scale.
namespace Twips {

constexpr int toPixels(int twips)
{
    return (twips >= 0 ? twips + 7 : twips - 7) / 15;
}

inline QRect rect(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

} // namespace Twips
