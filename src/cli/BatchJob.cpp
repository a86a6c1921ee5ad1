#include "BatchJob.h"

#include "reading/Compatibility.h"

#include <cstring>
#include <string>

int BatchJob::levelOf(QByteArrayView line, QString& problem)
{
    const char* tab =
        static_cast<const char*>(std::memchr(line.data(), '\t', static_cast<std::size_t>(line.size())));
    if (!tab) {
        problem = QStringLiteral("no tab between the two names");
        return -1;
    }
    const auto yourBytes = line.first(tab - line.data());
    const auto partnersBytes = line.sliced(yourBytes.size() + 1);
    if (partnersBytes.contains('\t')) {
        problem = QStringLiteral("more than one tab");
        return -1;
    }
    problem = names_.preparePair(yourBytes, partnersBytes, yourName_, partnersName_);
    if (!problem.isEmpty())
        return -1;
    return compatibilityLevel(yourName_, partnersName_);
}

int BatchJob::run(BatchReader& reader, std::FILE* out, std::FILE* err)
{
    constexpr std::size_t FlushAt = std::size_t{1} << 16;
    std::string output;
    output.reserve(FlushAt + 16);
    // The levels so far go out before a message, so that the two streams read in order in a console.
    auto writeOutput = [&] {
        const bool written =
            std::fwrite(output.data(), 1, output.size(), out) == output.size() && std::fflush(out) == 0;
        output.clear();
        if (!written)
            std::fputs("qzcompat: cannot write the output\n", err);
        return written;
    };
    bool failed = false;
    BatchReader::Line line;
    QString problem;
    while (reader.next(line)) {
        int level = -1;
        if (line.tooLong)
            problem = QStringLiteral("line longer than %1 bytes, skipped").arg(reader.maxLineBytes());
        else if (line.notUtf16)
            problem = QStringLiteral("not valid UTF-16 (an unpaired surrogate, or a lone byte at the end)");
        else
            level = levelOf(line.text, problem);
        if (level >= 10) {
            output += '1';
            output += static_cast<char>('0' + level - 10);
        } else if (level >= 0) {
            output += static_cast<char>('0' + level);
        }
        output += '\n';
        if (level < 0) {
            failed = true;
            if (!writeOutput())
                return 1;
            std::fprintf(err, "line %lld: %s\n", line.number, problem.toUtf8().constData());
        } else if (output.size() >= FlushAt && !writeOutput()) {
            return 1; // input may never end
        }
    }
    if (!writeOutput())
        return 1;
    if (reader.readFailed()) {
        std::fputs("qzcompat: cannot read standard input\n", err);
        failed = true;
    }
    return failed ? 1 : 0;
}
