#include "SavedReading.h"

#include "CodePage.h"
#include "ShiftCodec.h"
#include "common/RegularFile.h"

#include <QFile>

namespace SavedReading {

bool hasNumEnding(const QString& path)
{
    return path.endsWith(QLatin1String("num"), Qt::CaseSensitive);
}

std::optional<Lines> readLines(QIODevice& device)
{
    Lines lines;
    std::size_t lineIndex = 0;
    QByteArray current;
    bool afterCr = false;
    qint64 examined = 0;
    char buffer[4096];

    auto finishLine = [&] {
        lines[lineIndex++] = CodePage::decode(current.constData(), current.size());
        current.clear();
    };

    while (lineIndex < 6 && examined < MaxBytesExamined) {
        const qint64 want = std::min<qint64>(sizeof buffer, MaxBytesExamined - examined);
        const qint64 got = device.read(buffer, want);
        if (got < 0)
            return examined == 0 ? std::nullopt : std::optional<Lines>(lines);
        if (got == 0)
            break;
        examined += got;
        for (qint64 i = 0; i < got && lineIndex < 6; ++i) {
            const char c = buffer[i];
            if (afterCr) {
                afterCr = false;
                if (c == '\n')
                    continue;
            }
            if (c == '\r') {
                finishLine();
                afterCr = true;
            } else if (c == '\n') {
                finishLine();
            } else if (current.size() <= MaxLineLength) {
                current.append(c);
            }
        }
    }
    // A last line without its line end still counts, but only when the whole file was read.
    if (lineIndex < 6 && !current.isEmpty() && examined < MaxBytesExamined)
        finishLine();
    return lines;
}

std::optional<Lines> readFile(const QString& path)
{
    QFile file;
    if (!RegularFile::open(file, path))
        return std::nullopt;
    return readLines(file);
}

BirthDate birthDate(const Lines& lines)
{
    return {ShiftDecode(lines[3]), ShiftDecode(lines[4]), ShiftDecode(lines[5])};
}

} // namespace SavedReading
