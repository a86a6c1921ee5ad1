#pragma once

#include <QString>

#include <array>
#include <optional>

class QIODevice;

// A reading saved by the sibling numerology program: a single-byte text file whose lines 4 to 6 hold the
// birth month, day and year scrambled with ShiftEncode.
namespace SavedReading {

// Lines 1 to 6 of a reading, at positions 0 to 5; the rest of the file is never read.
using Lines = std::array<QString, 6>;

struct BirthDate
{
    QString month;
    QString day;
    QString year;
};

// Reading stops after this many bytes; lines not reached by then are empty. It bounds the time a file
// can cost, whatever it holds, while leaving room to skip a first line of a megabyte or more.
constexpr qint64 MaxBytesExamined = 4 << 20;

// Longest line start kept, which bounds the memory: ShiftDecode gives "" for anything longer, so the rest
// of an over-long line is skipped and the lines after it are still read.
constexpr qsizetype MaxLineLength = 32767;

// True when the path ends in exactly "num" (case-sensitive).
bool hasNumEnding(const QString& path);

// Reads the first six lines. CR, CR LF and LF end a line; bytes are decoded through the code page.
// Missing lines are empty. Returns nothing when the device cannot be read at all.
std::optional<Lines> readLines(QIODevice& device);

// Opens and reads a file: nothing when it cannot be opened or read (missing, a folder, no permission).
std::optional<Lines> readFile(const QString& path);

// Lines 4 to 6 decoded.
BirthDate birthDate(const Lines& lines);

} // namespace SavedReading
