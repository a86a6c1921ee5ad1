#pragma once

#include <QString>

class QFile;

namespace RegularFile {

// Opens path for reading when it names a regular file (through links), and refuses anything else at once:
// a folder, a device, or a FIFO, even one that takes the file's place between a check and the open,
// never leaves the caller waiting for a writer.
bool open(QFile& file, const QString& path);

} // namespace RegularFile
