#include "CompatCli.h"

#include "BatchJob.h"
#include "BatchReader.h"
#include "NameCheck.h"
#include "Output.h"
#include "ReadingFormat.h"
#include "common/AppInfo.h"
#include "reading/Compatibility.h"

#ifndef Q_OS_WIN
#include <poll.h>
#endif

#include <cerrno>
#include <cstring>
#include <vector>

namespace CompatCli {

namespace {

int usageError(std::FILE* err, const QString& message)
{
    Output::write(
        err,
        QStringLiteral("qzcompat: %1\nTry 'qzcompat --help' for more information.\n").arg(message).toUtf8());
    return BadUsage;
}

int inputError(std::FILE* err, const QString& message)
{
    Output::write(err, QStringLiteral("qzcompat: %1\n").arg(message).toUtf8());
    return BadInput;
}

// Writes the whole text out; a full disk or a closed output is a failure like any other.
int writeAll(std::FILE* out, std::FILE* err, const QByteArray& text)
{
    return Output::write(out, text) && std::fflush(out) == 0
               ? Success
               : inputError(err, QStringLiteral("cannot write the output"));
}

int runSingle(const Options& options, std::FILE* out, std::FILE* err)
{
    // The names are read as UTF-8 whatever the locale says: a C locale would otherwise turn every
    // accented letter into a question mark.
    NameCheck names;
    QString yourName;
    QString partnersName;
    const QString problem = names.preparePair(options.yourName, options.partnersName, yourName, partnersName);
    if (!problem.isEmpty())
        return inputError(err, problem);
    QByteArray text;
    switch (options.mode) {
    case Mode::Explain:
        text = ReadingFormat::explain(yourName, partnersName, compatibilitySteps(yourName, partnersName))
                   .toUtf8();
        break;
    case Mode::Json:
        text = ReadingFormat::json(yourName, partnersName, compatibilitySteps(yourName, partnersName));
        break;
    default:
        text = QByteArray::number(compatibilityLevel(yourName, partnersName)) + '\n';
        break;
    }
    return writeAll(out, err, text);
}

// A non-blocking input (as some launchers and language runtimes leave a pipe) has nothing yet, which is
// no error: wait until it has.
std::ptrdiff_t readInput(std::FILE* in, char* buffer, std::size_t capacity)
{
    for (;;) {
        errno = 0;
        const std::size_t got = std::fread(buffer, 1, capacity, in);
        const bool failed = std::ferror(in);
#ifndef Q_OS_WIN
        if (failed && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            std::clearerr(in);
            if (got > 0)
                return static_cast<std::ptrdiff_t>(got);
            pollfd ready = {fileno(in), POLLIN, 0};
            ::poll(&ready, 1, -1);
            continue;
        }
#endif
        return got == 0 && failed ? -1 : static_cast<std::ptrdiff_t>(got);
    }
}

int runBatch(std::FILE* in, std::FILE* out, std::FILE* err)
{
    BatchReader reader([in](char* buffer, std::size_t capacity) { return readInput(in, buffer, capacity); },
                       BatchJob::MaxLineBytes);
    BatchJob job;
    return job.run(reader, out, err);
}

} // namespace

Options parseArguments(int argc, const char* const* argv)
{
    Options options;
    std::vector<const char*> names;
    bool help = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (optionsEnded || arg[0] != '-' || arg[1] == '\0') {
            names.push_back(arg);
            continue;
        }
        Mode mode = Mode::Level;
        if (std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
            continue;
        } else if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
            help = true;
            continue;
        } else if (std::strcmp(arg, "--explain") == 0) {
            mode = Mode::Explain;
        } else if (std::strcmp(arg, "--json") == 0) {
            mode = Mode::Json;
        } else if (std::strcmp(arg, "--batch") == 0) {
            mode = Mode::Batch;
        } else if (options.error.isEmpty()) {
            options.error = QStringLiteral("unknown option '%1'").arg(QString::fromUtf8(arg));
            continue;
        }
        if (options.mode != Mode::Level && options.mode != mode && options.error.isEmpty())
            options.error = QStringLiteral("choose only one of --explain, --json and --batch");
        options.mode = mode;
    }
    if (help) {
        options = Options();
        options.mode = Mode::Help;
        return options;
    }
    if (!options.error.isEmpty())
        return options;
    if (options.mode == Mode::Batch) {
        if (!names.empty())
            options.error = QStringLiteral("--batch reads the names from standard input; give no names");
        return options;
    }
    if (names.size() < 2)
        options.error =
            names.empty() ? QStringLiteral("missing NAME and PARTNER") : QStringLiteral("missing PARTNER");
    else if (names.size() > 2)
        options.error = QStringLiteral("too many arguments (quote a name that holds spaces)");
    else {
        options.yourName = names[0];
        options.partnersName = names[1];
    }
    return options;
}

QString usage()
{
    return QStringLiteral("Usage: qzcompat [--explain | --json] [--] NAME PARTNER\n"
                          "       qzcompat --batch < PAIRS\n"
                          "\n"
                          "Prints the level of compatibility (0 to 10) of two names, your name first.\n"
                          "Names are upper-cased and trimmed of outer spaces; a name that is empty\n"
                          "or only spaces, or longer than %1 characters, is refused.\n"
                          "\n"
                          "  --explain   show every step of the reading, one labelled line each\n"
                          "  --json      print the steps as one JSON object\n"
                          "  --batch     read one NAME<TAB>PARTNER pair per line from standard input\n"
                          "              (UTF-8, or UTF-16 with its byte order mark) and print one\n"
                          "              level per line; a line that cannot be read gives an empty\n"
                          "              line, and a message with its line number on standard error\n"
                          "  -h, --help  show this help\n"
                          "  --          end of options, for a name that starts with '-'\n"
                          "\n"
                          "Exit status: 0 success, 1 bad input, 2 bad usage.\n")
        .arg(AppInfo::MaxNameLength);
}

int run(int argc, const char* const* argv, std::FILE* in, std::FILE* out, std::FILE* err)
{
    const Options options = parseArguments(argc, argv);
    if (!options.error.isEmpty())
        return usageError(err, options.error);
    switch (options.mode) {
    case Mode::Help:
        return writeAll(out, err, usage().toUtf8());
    case Mode::Batch:
        return runBatch(in, out, err);
    default:
        return runSingle(options, out, err);
    }
}

} // namespace CompatCli
