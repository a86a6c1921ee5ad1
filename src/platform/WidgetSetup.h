#pragma once

#include "Twips.h"

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
