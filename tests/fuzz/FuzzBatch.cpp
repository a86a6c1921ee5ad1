// The qzcompat --batch line reader on arbitrary bytes, fed in arbitrary pieces with small line limits and
// blocks: the same lines, numbers and flags as a plain split at LF after the byte order mark; and the whole
// batch job answers every line with a level 0-10 or an empty line and a message.

#include "FuzzInput.h"

#include "BatchJob.h"
#include "BatchReader.h"

#include <QByteArray>
#include <QList>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

struct PlainLine
{
    QByteArray text;
    bool tooLong;
    bool notUtf16; // then tooLong may be either: the reader's length of a broken line is its own
};

// UTF-16 split at its LF units, each line checked and turned into UTF-8 on its own.
QList<PlainLine> utf16Lines(QByteArrayView bytes, bool littleEndian, std::size_t maxLineBytes)
{
    QString all;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]),
                   second = static_cast<unsigned char>(bytes[i + 1]);
        all.append(QChar(littleEndian ? first | second << 8 : first << 8 | second));
    }
    const bool loneByte = bytes.size() % 2 != 0;
    QList<PlainLine> lines;
    const QStringList pieces = all.split(u'\n');
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const bool last = i == pieces.size() - 1;
        if (last && pieces[i].isEmpty() && !loneByte)
            break;
        QString text = pieces[i];
        if (text.endsWith(u'\r'))
            text.chop(1);
        if (!QStringView(text).isValidUtf16() || (last && loneByte)) {
            lines.append({QByteArray(), false, true});
            continue;
        }
        const QByteArray utf8 = text.toUtf8();
        const bool tooLong = static_cast<std::size_t>(utf8.size()) > maxLineBytes;
        lines.append({tooLong ? QByteArray() : utf8, tooLong, false});
    }
    return lines;
}

// The lines of the input after its byte order mark, if any.
QList<PlainLine> plainLines(const QByteArray& bytes, std::size_t maxLineBytes)
{
    if (bytes.startsWith("\xFE\xFF"))
        return utf16Lines(QByteArrayView(bytes).sliced(2), false, maxLineBytes);
    if (bytes.startsWith("\xFF\xFE") && !bytes.startsWith(QByteArrayView("\xFF\xFE\0\0", 4)))
        return utf16Lines(QByteArrayView(bytes).sliced(2), true, maxLineBytes);
    QList<PlainLine> lines;
    qsizetype begin = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    while (begin < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', begin);
        const qsizetype next = end < 0 ? bytes.size() : end + 1;
        if (end < 0)
            end = bytes.size();
        QByteArray text = bytes.mid(begin, end - begin);
        if (text.endsWith('\r'))
            text.chop(1);
        const bool tooLong = static_cast<std::size_t>(text.size()) > maxLineBytes;
        lines.append({tooLong ? QByteArray() : text, tooLong, false});
        begin = next;
    }
    return lines;
}

// Hands out the bytes in pieces whose sizes cycle through a few values taken from the input.
BatchReader::Source pieces(const QByteArray& bytes, std::vector<std::size_t> sizes, bool failAtEnd)
{
    auto offset = std::make_shared<qsizetype>(0);
    auto turn = std::make_shared<std::size_t>(0);
    return [bytes, sizes, failAtEnd, offset, turn](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
        FUZZ_REQUIRE(capacity > 0, "asked to read into a full buffer");
        if (*offset >= bytes.size())
            return failAtEnd ? -1 : 0;
        const std::size_t want = sizes[(*turn)++ % sizes.size()];
        const std::size_t n = std::min({capacity, want, static_cast<std::size_t>(bytes.size() - *offset)});
        std::memcpy(buffer, bytes.constData() + *offset, n);
        *offset += static_cast<qsizetype>(n);
        return static_cast<std::ptrdiff_t>(n);
    };
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::size_t maxLineBytes = in.byte() % 48;
    const std::size_t blockBytes = in.byte() % 80 + 1;
    const bool failAtEnd = in.byte() & 1;
    std::vector<std::size_t> sizes;
    for (int i = 0; i < 3; ++i)
        sizes.push_back(in.byte() % 100 + 1);
    const QByteArray bytes(reinterpret_cast<const char*>(in.rest()), static_cast<qsizetype>(in.remaining()));

    const QList<PlainLine> expected = plainLines(bytes, maxLineBytes);
    BatchReader reader(pieces(bytes, sizes, failAtEnd), maxLineBytes, blockBytes);
    BatchReader::Line line;
    qsizetype count = 0;
    while (reader.next(line)) {
        FUZZ_REQUIRE(count < expected.size(), "more lines than the input holds");
        FUZZ_REQUIRE(line.number == count + 1, "line numbered %lld, expected %lld", line.number,
                     static_cast<long long>(count + 1));
        FUZZ_REQUIRE(expected[count].notUtf16 ? line.notUtf16 || line.tooLong
                                              : !line.notUtf16 && line.tooLong == expected[count].tooLong,
                     "flags of line %lld", line.number);
        FUZZ_REQUIRE(line.text == QByteArrayView(expected[count].text), "text of line %lld differs",
                     line.number);
        ++count;
    }
    FUZZ_REQUIRE(count == expected.size(), "%lld lines read, the input holds %lld",
                 static_cast<long long>(count), static_cast<long long>(expected.size()));
    FUZZ_REQUIRE(reader.readFailed() == failAtEnd, "read failure not reported");

    // The job over the same input, with a line limit that lets real names through.
    const std::size_t jobLimit = maxLineBytes * 8;
    BatchReader jobReader(pieces(bytes, sizes, false), jobLimit, blockBytes);
    char* outText = nullptr;
    std::size_t outSize = 0;
    char* errText = nullptr;
    std::size_t errSize = 0;
    std::FILE* out = open_memstream(&outText, &outSize);
    std::FILE* err = open_memstream(&errText, &errSize);
    const int status = BatchJob().run(jobReader, out, err);
    std::fclose(out);
    std::fclose(err);
    const QList<QByteArray> outLines = QByteArray(outText, static_cast<qsizetype>(outSize)).split('\n');
    const qsizetype lineCount = plainLines(bytes, jobLimit).size();
    std::free(outText);
    std::free(errText);
    // Every input line gives exactly one output line (split() leaves one empty piece after the last LF).
    FUZZ_REQUIRE(outLines.size() == lineCount + 1 && outLines.last().isEmpty(), "%lld output lines for %lld",
                 static_cast<long long>(outLines.size() - 1), static_cast<long long>(lineCount));
    bool anyEmpty = false;
    for (qsizetype i = 0; i < lineCount; ++i) {
        const QByteArray& answer = outLines[i];
        bool ok = false;
        const int level = answer.toInt(&ok);
        anyEmpty = anyEmpty || answer.isEmpty();
        FUZZ_REQUIRE(answer.isEmpty() ||
                         (ok && level >= 0 && level <= 10 && answer == QByteArray::number(level)),
                     "answer %lld is \"%s\"", static_cast<long long>(i + 1), answer.constData());
    }
    FUZZ_REQUIRE(status == (anyEmpty ? 1 : 0), "exit status %d", status);
    return 0;
}
