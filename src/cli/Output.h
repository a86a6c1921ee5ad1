#pragma once

#include <QByteArrayView>

#include <cstdio>

namespace Output {

// Writes UTF-8 text to stream. A Windows console shows bytes in its own code page, so there the text
// goes to the console as UTF-16; a file or a pipe gets the bytes as they are. False when the text could
// not be written (bytes may still wait in the stream's buffer: flush it to know they got out).
bool write(std::FILE* stream, QByteArrayView utf8);

} // namespace Output
