#pragma once

#include <QChar>
#include <QString>

// The single-byte code page that stored text is scrambled in. On Windows it is the system's ANSI code
// page when that gives every character one byte; elsewhere, and where it does not, Windows-1252, with its
// five unassigned bytes mapped to the C1 controls of the same value so that every byte 0-255 round-trips.
namespace CodePage {

// The byte of a character, or -1 when the code page has no byte for it.
int toByte(QChar c);

QChar fromByte(unsigned char byte);

// Decodes bytes one by one; never fails.
QString decode(const char* data, qsizetype size);

} // namespace CodePage
