#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QRect>
#include <QString>
#include <QtMath>

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

inline QFont font(const QString& family, qreal points, bool bold = false, bool underline = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return f;
}

// The font made smaller in quarter points, if need be, until text fits in width logical pixels. Where a
// wide fallback font stands in for the one asked for, a caption then stays whole instead of being cut.
inline QFont fitted(QFont f, const QString& text, int width)
{
    while (f.pointSizeF() > 6 && QFontMetricsF(f).horizontalAdvance(text) > width)
        f.setPointSizeF(f.pointSizeF() - 0.25);
    return f;
}

} // namespace Twips
