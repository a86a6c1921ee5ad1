#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QtMath>

// Window layouts are given in twips: 15 twips make one logical pixel at 96 dpi. Converting once to
// logical pixels lets Qt's high-dpi scaling keep the layout at every scale.
namespace Twips {

constexpr int toPixels(int twips) { return (twips >= 0 ? twips + 7 : twips - 7) / 15; }

inline QRect rect(int left, int top, int width, int height)
{
    return {toPixels(left), toPixels(top), toPixels(width), toPixels(height)};
}

inline QFont font(const QString& family, qreal points, bool bold = false, bool underline = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

} // namespace Twips
