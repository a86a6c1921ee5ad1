// The saved-reading parser on arbitrary bytes, delivered whole (QBuffer) or in small pieces by a device
// that may fail part-way: never a line longer than the kept maximum, and the
// same lines as a plain split of the bytes it was allowed to examine.

#include "FuzzInput.h"

#include "reading/CodePage.h"
#include "reading/SavedReading.h"

#include <QBuffer>
#include <QByteArray>
#include <QIODevice>

#include <algorithm>
#include <vector>

namespace {

// A sequential device that hands out at most `piece` bytes per read and, if asked, fails after `failAt`.
class PieceDevice : public QIODevice
{
public:
    PieceDevice(QByteArray bytes, qint64 piece, qint64 failAt)
        : bytes_(std::move(bytes)), piece_(piece), failAt_(failAt)
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (failAt_ >= 0 && offset_ >= failAt_)
            return -1;
        const qint64 n = std::min({maxSize, piece_, qint64{bytes_.size()} - offset_});
        std::copy_n(bytes_.constData() + offset_, n, data);
        offset_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    qint64 piece_;
    qint64 failAt_;
    qint64 offset_ = 0;
};

// The first six lines of what was examined, split plainly at CR LF, CR and LF.
std::vector<QString> plainLines(const QByteArray& bytes)
{
    const QByteArray seen = bytes.left(SavedReading::MaxBytesExamined);
    std::vector<QString> lines;
    QByteArray current;
    qsizetype i = 0;
    for (; i < seen.size() && lines.size() < 6; ++i) {
        const char c = seen[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(CodePage::decode(current.constData(), current.size()));
            current.clear();
            if (c == '\r' && i + 1 < seen.size() && seen[i + 1] == '\n')
                ++i;
        } else if (current.size() <= SavedReading::MaxLineLength) {
            current.append(c);
        }
    }
    // An unfinished last line counts only when the whole file fitted in what is examined.
    if (lines.size() < 6 && !current.isEmpty() && bytes.size() < SavedReading::MaxBytesExamined)
        lines.push_back(CodePage::decode(current.constData(), current.size()));
    return lines;
}

void checkShape(const SavedReading::Lines& lines)
{
    for (const QString& line : lines)
        FUZZ_REQUIRE(line.size() <= SavedReading::MaxLineLength + 1, "line of %lld characters",
                     static_cast<long long>(line.size()));
    const SavedReading::BirthDate date = SavedReading::birthDate(lines);
    FUZZ_REQUIRE(date.month.size() <= lines[3].size() && date.day.size() <= lines[4].size() &&
                     date.year.size() <= lines[5].size(),
                 "decoding lengthened a line");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::uint8_t piece = in.byte();
    const std::uint8_t fail = in.byte();
    const std::uint8_t repeat = in.byte();
    QByteArray bytes(reinterpret_cast<const char*>(in.rest()), static_cast<qsizetype>(in.remaining()));
    // Repetition reaches overlong lines and the examined-bytes limit from small inputs.
    // Only a few inputs take this path, so the fuzzer stays quick: lines around the longest kept line, and
    // files around the examined-bytes limit.
    if (repeat >= 250 && !bytes.isEmpty()) {
        const qsizetype target = repeat >= 253 ? SavedReading::MaxBytesExamined + (repeat - 254) * 3
                                               : SavedReading::MaxLineLength + (repeat - 251) * 2;
        bytes = bytes.repeated(target / bytes.size() + 1).left(target);
    }

    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    const std::optional<SavedReading::Lines> whole = SavedReading::readLines(buffer);
    FUZZ_REQUIRE(whole.has_value(), "a readable buffer was refused");
    checkShape(*whole);
    const std::vector<QString> expected = plainLines(bytes);
    for (std::size_t i = 0; i < 6; ++i) {
        const QString want = i < expected.size() ? expected[i] : QString();
        FUZZ_REQUIRE((*whole)[i] == want, "line %zu differs from a plain split", i + 1);
    }

    // In pieces: the same lines; with a failing read, no crash and a sane shape.
    const qint64 failAt = fail < 128 ? -1 : qint64{fail - 128} * 97;
    PieceDevice device(bytes, qint64{piece % 64} + 1, failAt);
    const std::optional<SavedReading::Lines> pieces = SavedReading::readLines(device);
    if (failAt < 0) {
        FUZZ_REQUIRE(pieces.has_value() && *pieces == *whole, "read in pieces, the lines differ");
    } else if (pieces) {
        checkShape(*pieces);
    }
    return 0;
}
