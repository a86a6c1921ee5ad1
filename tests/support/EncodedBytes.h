#pragma once

#include <QByteArray>

// A value as a saved reading stores it: every byte shifted 85 up the single-byte code page.
inline QByteArray encoded(const QByteArray& plain)
{
    QByteArray out = plain;
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) + 85);
    return out;
}
