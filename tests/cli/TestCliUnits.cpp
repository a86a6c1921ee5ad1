#include "BatchJob.h"
#include "BatchReader.h"
#include "CompatCli.h"
#include "NameCheck.h"
#include "common/AppInfo.h"

#include <QStringDecoder>
#include <QTest>

#include <algorithm>
#include <cstring>

namespace {

// A source that hands out its bytes in pieces of at most `piece` bytes, as a pipe does, and records the
// largest read it was asked for.
struct ChunkedSource
{
    QByteArray bytes;
    std::size_t piece;
    qsizetype position = 0;
    std::size_t largestRequest = 0;

    std::ptrdiff_t operator()(char* buffer, std::size_t capacity)
    {
        largestRequest = std::max(largestRequest, capacity);
        const auto n = std::min<qsizetype>(
            {static_cast<qsizetype>(capacity), static_cast<qsizetype>(piece), bytes.size() - position});
        std::memcpy(buffer, bytes.constData() + position, static_cast<std::size_t>(n));
        position += n;
        return n;
    }
};

// Reads every line, keeping a byte order mark as a character; a line too long reads as "<too long>".
QStringList readAll(BatchReader& reader)
{
    QStringList lines;
    BatchReader::Line line;
    long long expectedNumber = 1;
    while (reader.next(line)) {
        if (line.number != expectedNumber++)
            return {QStringLiteral("line numbers out of order")};
        lines << (line.tooLong    ? QStringLiteral("<too long>")
                  : line.notUtf16 ? QStringLiteral("<not UTF-16>")
                                  : QStringDecoder(QStringDecoder::Utf8,
                                                   QStringDecoder::Flag::ConvertInitialBom)(line.text));
    }
    return lines;
}

} // namespace

class TestCliUnits : public QObject
{
    Q_OBJECT

private slots:
    void readerSplitsLines_data();
    void readerSplitsLines();
    void readerSkipsHugeLineInBoundedMemory();
    void readerReportsReadFailure();
    void nameCheck_data();
    void nameCheck();
    void batchLine_data();
    void batchLine();
    void arguments_data();
    void arguments();
};

void TestCliUnits::readerSplitsLines_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("piece");
    QTest::addColumn<QStringList>("lines");

    const auto L = [](std::initializer_list<const char*> items) {
        QStringList list;
        for (const char* s : items)
            list << QString::fromUtf8(s);
        return list;
    };
    // The limit is 8 bytes and the buffer holds 16: small enough to cross block edges often.
    QTest::newRow("nothing") << QByteArray() << 100 << QStringList();
    QTest::newRow("lf") << QByteArray("a\tb\nc\td\n") << 100 << L({"a\tb", "c\td"});
    QTest::newRow("cr lf") << QByteArray("a\tb\r\nc\td\r\n") << 100 << L({"a\tb", "c\td"});
    QTest::newRow("last line without lf") << QByteArray("a\tb\nc\td") << 100 << L({"a\tb", "c\td"});
    QTest::newRow("last line cr without lf") << QByteArray("a\tb\r") << 100 << L({"a\tb"});
    QTest::newRow("cr inside a line stays") << QByteArray("a\rb\n") << 100 << L({"a\rb"});
    QTest::newRow("empty lines") << QByteArray("\n\r\n\n") << 100 << L({"", "", ""});
    QTest::newRow("one byte at a time") << QByteArray("ab\r\ncd\nef") << 1 << L({"ab", "cd", "ef"});
    QTest::newRow("exactly the limit with cr lf")
        << QByteArray("12345678\r\nx\n") << 3 << L({"12345678", "x"});
    QTest::newRow("one over the limit") << QByteArray("123456789\nx\n") << 100 << L({"<too long>", "x"});
    QTest::newRow("one over the limit, slowly")
        << QByteArray("123456789\r\nx\n") << 1 << L({"<too long>", "x"});
    QTest::newRow("long line across blocks")
        << QByteArray("a\n" + QByteArray(50, 'z') + "\r\nb") << 5 << L({"a", "<too long>", "b"});
    QTest::newRow("long last line") << QByteArray("a\n" + QByteArray(50, 'z')) << 7 << L({"a", "<too long>"});
    // A byte order mark says what the text is; UTF-16 is handed on as UTF-8.
    const auto utf16 = [](const char16_t* text, bool littleEndian) {
        QByteArray bytes;
        for (const char16_t* c = text; *c; ++c) {
            const char high = static_cast<char>(*c >> 8), low = static_cast<char>(*c & 0xFF);
            bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
        }
        return bytes;
    };
    QTest::newRow("utf-8 mark") << QByteArray("\xEF\xBB\xBFJ\xC3\xA9\tM\nx") << 1 << L({"J\xC3\xA9\tM", "x"});
    QTest::newRow("utf-16 le mark, cr lf") << utf16(u"\uFEFFJ\u00E9\tM\r\n\U0001F600\u20AC\r\n", true) << 3
                                           << L({"J\xC3\xA9\tM", "\xF0\x9F\x98\x80\xE2\x82\xAC"});
    QTest::newRow("utf-16 be mark") << utf16(u"\uFEFFJ\tM\nA\tB", false) << 100 << L({"J\tM", "A\tB"});
    QTest::newRow("a mark alone") << QByteArray("\xFF\xFE") << 100 << QStringList();
    QTest::newRow("utf-16 unpaired surrogates") << utf16(u"\uFEFFa\xD800\nb\nc\xDC00\nd\xD83D", true) << 100
                                                << L({"<not UTF-16>", "b", "<not UTF-16>", "<not UTF-16>"});
    QTest::newRow("utf-16 lone last byte")
        << utf16(u"\uFEFFa\n", true) + 'b' << 100 << L({"a", "<not UTF-16>"});
    QTest::newRow("utf-32 mark is not utf-16's")
        << QByteArray("\xFF\xFE\0\0a\0\0\0", 8) << 100
        << QStringList({QString::fromUtf8("\xFF\xFE\0\0a\0\0\0", 8)});
}

void TestCliUnits::readerSplitsLines()
{
    QFETCH(QByteArray, input);
    QFETCH(int, piece);
    QFETCH(QStringList, lines);

    ChunkedSource source{input, static_cast<std::size_t>(piece)};
    BatchReader reader(std::ref(source), 8, 16);
    QCOMPARE(readAll(reader), lines);
    QVERIFY(!reader.readFailed());
}

void TestCliUnits::readerSkipsHugeLineInBoundedMemory()
{
    // 64 MB without a line end, generated on the fly: the reader must skip it, not hold it.
    constexpr long long hugeBytes = 64LL << 20;
    long long served = 0;
    std::size_t largestRequest = 0;
    bool tailSent = false;
    const QByteArray tail("\nJOHN\tMARY\n");
    BatchReader reader(
        [&](char* buffer, std::size_t capacity) -> std::ptrdiff_t {
            largestRequest = std::max(largestRequest, capacity);
            if (served < hugeBytes) {
                const auto n = static_cast<std::size_t>(std::min<long long>(hugeBytes - served, 65536));
                const std::size_t count = std::min(n, capacity);
                std::memset(buffer, 'A', count);
                served += static_cast<long long>(count);
                return static_cast<std::ptrdiff_t>(count);
            }
            if (tailSent)
                return 0;
            tailSent = true;
            std::memcpy(buffer, tail.constData(), static_cast<std::size_t>(tail.size()));
            return tail.size();
        },
        BatchJob::MaxLineBytes);
    QCOMPARE(readAll(reader), QStringList({QStringLiteral("<too long>"), QStringLiteral("JOHN\tMARY")}));
    QVERIFY(largestRequest <= BatchReader::DefaultBlockBytes);
}

void TestCliUnits::readerReportsReadFailure()
{
    int calls = 0;
    BatchReader reader(
        [&calls](char* buffer, std::size_t) -> std::ptrdiff_t {
            if (calls++ > 0)
                return -1;
            std::memcpy(buffer, "a\tb\nc", 5);
            return 5;
        },
        8);
    QCOMPARE(readAll(reader), QStringList({QStringLiteral("a\tb"), QStringLiteral("c")}));
    QVERIFY(reader.readFailed());
}

void TestCliUnits::nameCheck_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("problem");

    const int max = AppInfo::MaxNameLength;
    const auto ok = [](const char* row, const QByteArray& bytes, const QString& name) {
        QTest::newRow(row) << bytes << name << QString();
    };
    const auto bad = [](const char* row, const QByteArray& bytes, const char* problem) {
        QTest::newRow(row) << bytes << QString() << QString::fromUtf8(problem);
    };
    ok("lower case, outer spaces", " mary ann ", QStringLiteral("MARY ANN"));
    ok("two bytes", "\xC3\xA9lodie", QStringLiteral("\u00C9LODIE"));
    ok("three bytes", "\xE2\x82\xAC", QStringLiteral("\u20AC"));
    ok("four bytes", "A\xF0\x9F\x98\x80", QStringLiteral("A\U0001F600"));
    ok("highest code point", "\xF4\x8F\xBF\xBF", QStringLiteral("\U0010FFFF"));
    ok("nul byte", QByteArray("a\0b", 3), QStringLiteral("A") + QChar(0) + QStringLiteral("B"));
    ok("byte order mark kept", "\xEF\xBB\xBFjo", QStringLiteral("\uFEFFJO"));
    ok("longest", QByteArray(max, 'a'), QString(max, u'A'));
    ok("longest, sharp s does not grow", QByteArray(max - 1, 'a') + "\xC3\x9F",
       QString(max - 1, u'A') + QStringLiteral("\u00DF"));
    bad("empty", "", "your name is empty or only spaces");
    bad("spaces only", "   ", "your name is empty or only spaces");
    bad("one too long", QByteArray(max + 1, 'a'), "your name is longer than 16382 characters");
    bad("too long with spaces", " " + QByteArray(max, 'a'), "your name is longer than 16382 characters");
    bad("lone continuation", "AB\x80", "your name is not valid UTF-8 (byte 3)");
    bad("overlong two bytes", "\xC0\x80", "your name is not valid UTF-8 (byte 1)");
    bad("overlong three bytes", "\xE0\x80\x80", "your name is not valid UTF-8 (byte 1)");
    bad("surrogate", "A\xED\xA0\x80", "your name is not valid UTF-8 (byte 2)");
    bad("above U+10FFFF", "\xF4\x90\x80\x80", "your name is not valid UTF-8 (byte 1)");
    bad("truncated at end", "AB\xE2\x82", "your name is not valid UTF-8 (byte 3)");
    bad("ascii where continuation due", "\xC3Z", "your name is not valid UTF-8 (byte 1)");
    bad("latin-1 byte", "t\xE9t\xE9", "your name is not valid UTF-8 (byte 2)");
}

void TestCliUnits::nameCheck()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    NameCheck check;
    QString name;
    QString partner;
    // Storage left over from a longer name must not show through.
    QCOMPARE(check.preparePair("a much longer name than any below", "B", name, partner), QString());
    QCOMPARE(check.preparePair(bytes, "B", name, partner), problem);
    if (problem.isEmpty())
        QTEST(name, "name");
}

void TestCliUnits::batchLine_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("problem");

    QTest::newRow("worked example") << QByteArray("JOHN\tMARY") << 8 << QString();
    QTest::newRow("lower case, spaces") << QByteArray(" mary ann \tjohn") << 7 << QString();
    QTest::newRow("no tab") << QByteArray("JOHN MARY") << -1 << QStringLiteral("no tab");
    QTest::newRow("empty line") << QByteArray("") << -1 << QStringLiteral("no tab");
    QTest::newRow("two tabs") << QByteArray("A\tB\tC") << -1 << QStringLiteral("more than one tab");
    QTest::newRow("blank first") << QByteArray("  \tMARY") << -1 << QStringLiteral("your name is empty");
    QTest::newRow("bad second") << QByteArray("JOHN\tM\xFF") << -1
                                << QStringLiteral("partner's name is not valid UTF-8 (byte 2)");
}

void TestCliUnits::batchLine()
{
    QFETCH(QByteArray, line);
    QFETCH(int, level);
    QFETCH(QString, problem);

    BatchJob job;
    QString reported;
    // A line after a longer one must not see its leftovers.
    QCOMPARE(job.levelOf("ABCDEFGHIJKLM   \tNOPQRSTUVWXYZ  ", reported), 6);
    QCOMPARE(job.levelOf(line, reported), level);
    if (level < 0)
        QVERIFY2(reported.startsWith(problem), qPrintable(reported));
}

void TestCliUnits::arguments_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("error"); // start of the message; empty when usable
    QTest::addColumn<QString>("yourName");

    using M = CompatCli::Mode;
    const auto row = [](const char* name, std::initializer_list<const char*> args, M mode, const char* error,
                        const char* yours) {
        QStringList list;
        for (const char* a : args)
            list << QString::fromUtf8(a);
        QTest::newRow(name) << list << int(mode) << QString::fromUtf8(error) << QString::fromUtf8(yours);
    };
    row("two names", {"JOHN", "MARY"}, M::Level, "", "JOHN");
    row("explain after names", {"JOHN", "MARY", "--explain"}, M::Explain, "", "JOHN");
    row("json", {"--json", "A", "B"}, M::Json, "", "A");
    row("dash dash before a dashed name", {"--", "-X-", "B"}, M::Level, "", "-X-");
    row("lone dash is a name", {"-", "B"}, M::Level, "", "-");
    row("help wins over errors", {"--bogus", "--help"}, M::Help, "", "");
    row("short help", {"-h"}, M::Help, "", "");
    row("batch", {"--batch"}, M::Batch, "", "");
    row("no names", {}, M::Level, "missing NAME and PARTNER", "");
    row("one name", {"JOHN"}, M::Level, "missing PARTNER", "");
    row("three names", {"MARY", "ANN", "JOHN"}, M::Level, "too many arguments", "");
    row("unknown option", {"--explian", "A", "B"}, M::Level, "unknown option '--explian'", "");
    row("two modes", {"--json", "--explain", "A", "B"}, M::Explain, "choose only one", "");
    row("batch with names", {"--batch", "A", "B"}, M::Batch, "--batch reads the names", "");
}

void TestCliUnits::arguments()
{
    QFETCH(QStringList, args);
    QFETCH(int, mode);
    QFETCH(QString, error);
    QFETCH(QString, yourName);

    std::vector<QByteArray> storage{QByteArrayLiteral("qzcompat")};
    for (const QString& a : args)
        storage.push_back(a.toUtf8());
    std::vector<const char*> argv;
    for (const QByteArray& a : storage)
        argv.push_back(a.constData());
    const CompatCli::Options options = CompatCli::parseArguments(int(argv.size()), argv.data());
    QVERIFY2(error.isEmpty() ? options.error.isEmpty() : options.error.startsWith(error),
             qPrintable(options.error));
    QCOMPARE(int(options.mode), mode);
    if (error.isEmpty())
        QCOMPARE(QString::fromUtf8(options.yourName), yourName);
}

QTEST_APPLESS_MAIN(TestCliUnits)
#include "TestCliUnits.moc"
