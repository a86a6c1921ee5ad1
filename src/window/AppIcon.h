#pragma once

#include <QIcon>
#include <QImageReader>
#include <QPixmap>

#include <initializer_list>

// One of the program's own PNG pictures. The format is given and detection is off: a reader left to
// detect formats loads every image format plugin installed (JPEG, GIF, ICO, and more on many systems)
// only to ask each whether it reads PNG, which costs start-up time and memory for nothing.
inline QPixmap ownPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// An icon of the pictures made by putting each size into pattern ("%1"); sizes whose picture is missing
// are left out.
inline QIcon pngIcon(const QString& pattern, std::initializer_list<int> sizes)
{
    QIcon icon;
    for (int size : sizes) {
        const QPixmap picture = ownPng(pattern.arg(size));
        if (!picture.isNull())
            icon.addPixmap(picture);
    }
    return icon;
}

// The program's icon in the sizes a window needs (title bar, task switcher, the About window's picture
// at up to twice the scale). The large sizes stay out: decoding them would cost start-up time and memory
// for pictures no window shows.
inline QIcon appIcon()
{
    return pngIcon(QStringLiteral(":/icons/app-%1.png"), {16, 32, 48, 64});
}
