#pragma once

#include "Twips.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QWidget>

#include <initializer_list>

// Small helpers the windows share to build their controls from the layout tables.
namespace WidgetSetup {

inline QString verdana()
{
    return QStringLiteral("Verdana");
}
inline QString sansSerif()
{
    return QStringLiteral("MS Sans Serif");
}

// The font with sans-serif faces of similar metrics to stand in where its family is missing: Windows'
// Tahoma, or DejaVu Sans from the host under Wine and on Linux. Without them Qt would take the first face
// of the font list, which under Wine is a serif one with taller lines.
inline QFont withStandIns(QFont f)
{
    f.setFamilies({f.family(), QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    f.setStyleHint(QFont::SansSerif);
    return f;
}

// A font of the given family and size in points.
inline QFont pointFont(const QString& family, qreal points, bool bold = false, bool underline = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setUnderline(underline);
    return withStandIns(f);
}

// Makes the font of each label and check box of a window smaller in quarter points, where need be, until
// its text fits its rectangle: the layout is fixed, and a stand-in font with wider letters or taller lines
// than the one asked for would otherwise cut text off.
inline void fitLabels(QWidget* window)
{
    auto fits = [](const QWidget* control) {
        const auto* label = qobject_cast<const QLabel*>(control);
        if (label && label->wordWrap())
            return label->heightForWidth(label->width()) <= label->height() &&
                   label->minimumSizeHint().width() <= label->width();
        const QSize needed = control->sizeHint();
        return needed.width() <= control->width() && needed.height() <= control->height();
    };
    for (QWidget* control : window->findChildren<QWidget*>()) {
        const auto* label = qobject_cast<const QLabel*>(control);
        const auto* box = qobject_cast<const QCheckBox*>(control);
        if (!(label && !label->text().isEmpty()) && !(box && !box->text().isEmpty()))
            continue;
        QFont f = control->font();
        while (f.pointSizeF() > 6 && !fits(control)) {
            f.setPointSizeF(f.pointSizeF() - 0.25);
            control->setFont(f);
        }
    }
}

// Names a control and puts it at its place, given in twips relative to its container.
template <typename W> W* place(W* widget, const char* name, int left, int top, int width, int height)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(Twips::rect(left, top, width, height));
    return widget;
}

inline void setColour(QWidget* widget, QPalette::ColorRole role, const QColor& colour)
{
    QPalette p = widget->palette();
    p.setColor(role, colour);
    widget->setPalette(p);
}

// An opaque background of one colour.
inline void fill(QWidget* widget, const QColor& colour)
{
    setColour(widget, QPalette::Window, colour);
    widget->setAutoFillBackground(true);
}

// Tab moves through the controls in the order given.
inline void tabOrder(std::initializer_list<QWidget*> controls)
{
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous)
            QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

} // namespace WidgetSetup
