#pragma once

#include <QIcon>
#include <QImageReader>
#include <QPixmap>

// One of the program's own PNG pictures. The format is given and detection is off: a reader left to
// detect formats loads every image format plugin installed (JPEG, GIF, ICO, and more on many systems)
// only to ask each whether it reads PNG, which costs start-up time and memory for nothing.
inline QPixmap ownPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The program's icon in the sizes a window needs (title bar, task switcher, the About window's picture
// at up to twice the scale). The large sizes stay out: decoding them would cost start-up time and memory
// for pictures no window shows.
inline QIcon appIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        const QPixmap picture = ownPng(QStringLiteral(":/icons/app-%1.png").arg(size));
        if (!picture.isNull())
            icon.addPixmap(picture);
    }
    return icon;
}
