#pragma once

#include <QIcon>

// The program's icon in the sizes a window needs (title bar, task switcher, the About window's picture
// at up to twice the scale). The large sizes stay out: decoding them would cost start-up time and memory
// for pictures no window shows.
inline QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/app-%1.png").arg(size), QSize(size, size));
    return icon;
}
