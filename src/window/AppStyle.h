#pragma once

#include "AppIcon.h"

#include <QProxyStyle>
#include <QWidget>

// The desktop's own style, with one change: the arrows of a menu bar's overflow button are read straight
// from Qt's built-in PNG pictures. Left to Qt, building the menu bar reads them through format detection,
// which loads every image format plugin installed just to ask each about PNG: several libraries mapped at
// every start for a button that a window of fixed size never shows.
class AppStyle : public QProxyStyle
{
public:
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option, const QWidget* widget) const override
    {
        const auto builtIn = [](const char* name, std::initializer_list<int> sizes) {
            return pngIcon(QStringLiteral(":/qt-project.org/styles/commonstyle/images/%1-%2.png")
                               .arg(QLatin1String(name)),
                           sizes);
        };
        QIcon result;
        if (icon == SP_ToolBarHorizontalExtensionButton)
            result = widget && widget->isRightToLeft() ? builtIn("toolbar-ext-h-rtl", {8, 16, 32})
                                                       : builtIn("toolbar-ext-h", {8, 16, 32});
        else if (icon == SP_ToolBarVerticalExtensionButton)
            result = builtIn("toolbar-ext-v", {5, 10, 20});
        // Anything Qt no longer ships under those names falls back to the style's own answer.
        return result.isNull() ? QProxyStyle::standardIcon(icon, option, widget) : result;
    }
};
