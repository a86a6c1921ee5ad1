#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTest>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The input goes in two parts with a 0.2 s pause between, through a pipe left non-blocking (as some
// launchers leave one): the program waits for the rest instead of taking the pause for the end or an error.
Run runCompat(const QStringList& args, const QByteArray& input = {}, const QString& locale = {})
{
    QProcess process;
#ifndef Q_OS_WIN
    process.setChildProcessModifier([] { ::fcntl(STDIN_FILENO, F_SETFL, O_NONBLOCK); });
#endif
    if (!locale.isEmpty()) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), locale);
        env.insert(QStringLiteral("LANG"), locale);
        process.setProcessEnvironment(env);
    }
    process.start(QStringLiteral(QZCOMPAT_PATH), args);
    if (!process.waitForStarted())
        return {};
    const qsizetype half = input.size() / 2;
    process.write(input.left(half));
    if (half == 0 || (process.waitForBytesWritten() && !process.waitForFinished(200)))
        process.write(input.mid(half));
    process.closeWriteChannel();
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {};
    return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
}

QStringList L(std::initializer_list<const char*> items)
{
    QStringList list;
    for (const char* s : items)
        list << QString::fromUtf8(s);
    return list;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

private slots:
    void level_data();
    void level();
    void explainShowsEveryStep();
    void jsonHoldsTheSteps();
    void argumentsAreUtf8InAnyLocale();
    void badUsage_data();
    void badUsage();
    void batch_data();
    void batch();
    void batchKeepsStreamsInOrder();
    void unwritableOutput_data();
    void unwritableOutput();
};

void TestCli::level_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err");

    QTest::newRow("JOHN MARY") << L({"JOHN", "MARY"}) << QByteArray("8\n") << 0 << QByteArray();
    QTest::newRow("lower case") << L({"john", "mary"}) << QByteArray("8\n") << 0 << QByteArray();
    QTest::newRow("spaces around and inside")
        << L({" mary ann ", "john"}) << QByteArray("7\n") << 0 << QByteArray();
    QTest::newRow("dashed name after --") << L({"--", "-A", "B"}) << QByteArray("4\n") << 0 << QByteArray();
    QTest::newRow("blank name") << L({"JOHN", "  "}) << QByteArray() << 1
                                << QByteArray("partner's name is empty or only spaces");
    QTest::newRow("blank name explained")
        << L({"--explain", " ", "MARY"}) << QByteArray() << 1 << QByteArray("your name is empty");
    QTest::newRow("help") << L({"--help"}) << QByteArray("Usage: qzcompat") << 0 << QByteArray();
}

void TestCli::level()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, out);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);

    const Run run = runCompat(args);
    QCOMPARE(run.exitCode, exitCode);
    if (out.endsWith('\n') || out.isEmpty())
        QCOMPARE(run.out, out);
    else
        QVERIFY(run.out.startsWith(out));
    QVERIFY2(run.err.contains(err), run.err.constData());
    QCOMPARE(run.err.isEmpty(), err.isEmpty());
    // A console 80 columns wide shows every line whole.
    for (const QByteArray& line : run.out.split('\n'))
        QVERIFY2(line.size() <= 80, line.constData());
}

void TestCli::explainShowsEveryStep()
{
    const Run run = runCompat(L({"--explain", "JOHN", "MARY"}));
    QCOMPARE(run.exitCode, 0);
    const QList<QByteArray> lines = run.out.trimmed().split('\n');
    for (const char* expected :
         {"Combined text: JOHN MARY", "Groups: J O H N M A R Y", "Marks: 1 1 1 1 1 1 1 1 (0)",
          "Pair sums: 2 2 2 2 (0)", "Fold list: 6, 2, 0", "U: 2", "Result number: 8", "Level: 8"})
        QVERIFY2(lines.contains(expected), expected);

    const Run repeated = runCompat(L({"--explain", "mary ann", "john"}));
    QVERIFY(repeated.out.contains("Groups: M AA R Y NNN J O H\n"));
}

void TestCli::jsonHoldsTheSteps()
{
    const Run run = runCompat(L({"--json", "romeo", "juliet"}));
    QCOMPARE(run.exitCode, 0);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(run.out, &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    QCOMPARE(run.out.count('\n'), 1);
    QCOMPARE(o.value(QStringLiteral("yourName")).toString(), QStringLiteral("ROMEO"));
    QCOMPARE(o.value(QStringLiteral("combined")).toString(), QStringLiteral("ROMEO JULIET"));
    QCOMPARE(o.value(QStringLiteral("groups")).toArray().at(1).toString(), QStringLiteral("OO"));
    QCOMPARE(o.value(QStringLiteral("foldList")).toArray(), (QJsonArray{4, 3, 1, 0}));
    QCOMPARE(o.value(QStringLiteral("u")).toInt(), 3);
    QCOMPARE(o.value(QStringLiteral("resultNumber")).toInt(), 11);
    QCOMPARE(o.value(QStringLiteral("level")).toInt(), 2);
}

void TestCli::argumentsAreUtf8InAnyLocale()
{
    // Under the C locale a locale-based decoding would turn é into '?' and count both as one letter.
    const Run accented = runCompat({QStringLiteral("--json"), QStringLiteral("\u00E9"), QStringLiteral("?")},
                                   {}, QStringLiteral("C"));
    QCOMPARE(accented.exitCode, 0);
    const QJsonObject o = QJsonDocument::fromJson(accented.out).object();
    QCOMPARE(o.value(QStringLiteral("yourName")).toString(), QStringLiteral("\u00C9"));
    QCOMPARE(o.value(QStringLiteral("level")).toInt(), 2);

#ifndef Q_OS_WIN // Windows passes arguments as UTF-16: there are no bytes that could be invalid
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"),
                {QStringLiteral("-c"), QStringLiteral("\"$0\" \"$(printf 'J\\377')\" MARY"),
                 QStringLiteral(QZCOMPAT_PATH)});
    QVERIFY(shell.waitForFinished());
    QCOMPARE(shell.exitCode(), 1);
    QVERIFY(shell.readAllStandardError().contains("your name is not valid UTF-8"));
#endif
}

void TestCli::badUsage_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("message");

    // One row: what each command line gets wrong is TestCliUnits::arguments' table.
    QTest::newRow("unknown option") << L({"--jsn", "A", "B"}) << QByteArray("unknown option '--jsn'");
}

void TestCli::badUsage()
{
    QFETCH(QStringList, args);
    QFETCH(QByteArray, message);

    const Run run = runCompat(args);
    QCOMPARE(run.exitCode, 2);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains(message), run.err.constData());
    QVERIFY(run.err.contains("qzcompat --help"));
}

void TestCli::batch_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QByteArray>("err");

    QTest::newRow("all good, cr lf, no final lf")
        << QByteArray("JOHN\tMARY\r\nromeo\tjuliet\n mary ann \tjohn\nABCDEF\tFGHIJKLMN")
        << QByteArray("8\n2\n7\n10\n") << 0 << QByteArray();
    QTest::newRow("good and bad mixed")
        << QByteArray("JOHN\tMARY\nno tab here\n\n \tMARY\nANNA\tBOB\nJ\xC3\tMARY\nA\tB\tC\nANNA\tBOB\n")
        << QByteArray("8\n\n\n\n2\n\n\n2\n") << 1
        << QByteArray("line 2: no tab between the two names\n"
                      "line 3: no tab between the two names\n"
                      "line 4: your name is empty or only spaces\n"
                      "line 6: your name is not valid UTF-8 (byte 2)\n"
                      "line 7: more than one tab\n");
    QTest::newRow("overlong line skipped")
        << QByteArray("A\tB\n" + QByteArray(500000, 'X') + "\tY\nA\tB\n") << QByteArray("2\n\n2\n") << 1
        << QByteArray("line 2: line longer than 98293 bytes, skipped\n");
    QTest::newRow("no input") << QByteArray() << QByteArray() << 0 << QByteArray();
    // What PowerShell 5's > writes: UTF-16 LE with its mark, CR LF.
    // (This machine is little-endian, so the array holds those bytes.)
    const char16_t powerShell[] = u"\uFEFFJOHN\tMARY\r\nromeo\tjuliet\r\nA\xD800\tB\r\n";
    QTest::newRow("utf-16 le with mark")
        << QByteArray(reinterpret_cast<const char*>(powerShell), sizeof powerShell - sizeof(char16_t))
        << QByteArray("8\n2\n\n") << 1
        << QByteArray("line 3: not valid UTF-16 (an unpaired surrogate, or a lone byte at the end)\n");
}

void TestCli::batch()
{
    QFETCH(QByteArray, input);
    QFETCH(QByteArray, out);
    QFETCH(int, exitCode);
    QFETCH(QByteArray, err);

    const Run run = runCompat(L({"--batch"}), input);
    QCOMPARE(run.out, out);
    QCOMPARE(run.err, err);
    QCOMPARE(run.exitCode, exitCode);
}

// Both streams in one console (one pipe here): a line's message comes after the levels of the lines above.
void TestCli::batchKeepsStreamsInOrder()
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral(QZCOMPAT_PATH), L({"--batch"}));
    process.write("JOHN\tMARY\nno tab\nANNA\tBOB\n");
    process.closeWriteChannel();
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.readAll(), QByteArray("8\n\nline 2: no tab between the two names\n2\n"));
}

void TestCli::unwritableOutput_data()
{
    QTest::addColumn<QString>("command"); // $0 is the program; its output goes to a full disk
    QTest::newRow("help") << QStringLiteral("\"$0\" --help");
    // Bounded by timeout, so that a run that never stops fails without outliving the test.
    QTest::newRow("batch, endless input")
        << QStringLiteral("yes \"$(printf 'JOHN\\tMARY')\" | timeout 10 \"$0\" --batch");
}

void TestCli::unwritableOutput()
{
#ifdef Q_OS_WIN
    QSKIP("no /dev/full");
#else
    QFETCH(QString, command);
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command + QStringLiteral(" > /dev/full"),
                                            QStringLiteral(QZCOMPAT_PATH)});
    QVERIFY(shell.waitForFinished(20000));
    QCOMPARE(shell.exitCode(), 1);
    QCOMPARE(shell.readAllStandardError(), QByteArray("qzcompat: cannot write the output\n"));
#endif
}

QTEST_APPLESS_MAIN(TestCli)
#include "TestCli.moc"
