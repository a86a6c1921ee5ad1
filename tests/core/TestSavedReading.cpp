#include "reading/SavedReading.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <thread>
#endif

class TestSavedReading : public QObject
{
    Q_OBJECT
private slots:
    void savedReadingLines_data();
    void savedReadingLines();
    void savedReadingIsBounded();
    void savedReadingEnding();
    void unreadableFile_data();
    void unreadableFile();
    void fifoSwappedIn();
};

void TestSavedReading::savedReadingLines_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("CR LF") << QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\ng\r\n")
                           << QStringList{"a", "b", "c", "d", "e", "f"};
    QTest::newRow("lone LF") << QByteArray("a\nb\nc\nd\ne\nf\n") << QStringList{"a", "b", "c", "d", "e", "f"};
    QTest::newRow("lone CR") << QByteArray("a\rb\rc\rd\re\rf") << QStringList{"a", "b", "c", "d", "e", "f"};
    QTest::newRow("empty lines") << QByteArray("\r\n\r\n\n\rx") << QStringList{"", "", "", "", "x", ""};
    QTest::newRow("three lines") << QByteArray("a\r\nb\r\nc") << QStringList{"a", "b", "c", "", "", ""};
    QTest::newRow("empty file") << QByteArray() << QStringList{"", "", "", "", "", ""};
    QTest::newRow("code page bytes") << QByteArray("\x80\xE9\r\n")
                                     << QStringList{QString::fromUtf16(u"\u20AC\u00E9"), "", "", "", "", ""};
    QTest::newRow("NUL kept") << QByteArray("a\0b\n", 4)
                              << QStringList{QString::fromUtf16(u"a\0b", 3), "", "", "", "", ""};
    // Only the start of an over-long line is kept (it then decodes to nothing); the lines after it count.
    QTest::newRow("first line of 2 MiB")
        << QByteArray(2 << 20, 'x') + "\r\nb\r\nc\r\nd\r\ne\r\nf\r\n"
        << QStringList{QString(SavedReading::MaxLineLength + 1, u'x'), "b", "c", "d", "e", "f"};
}

void TestSavedReading::savedReadingLines()
{
    QFETCH(QByteArray, file);
    QFETCH(QStringList, lines);
    QBuffer buffer(&file);
    QVERIFY(buffer.open(QIODevice::ReadOnly));
    const auto read = SavedReading::readLines(buffer);
    QVERIFY(read.has_value());
    for (int i = 0; i < 6; ++i)
        QCOMPARE((*read)[std::size_t(i)], lines[i]);
}

// However large a file and however long its lines, reading keeps to a fixed budget.
void TestSavedReading::savedReadingIsBounded()
{
    // Without line ends, reading stops at the budget: the device is not read to its end.
    QByteArray endless(2 * SavedReading::MaxBytesExamined, 'y');
    QBuffer endlessBuffer(&endless);
    QVERIFY(endlessBuffer.open(QIODevice::ReadOnly));
    const auto endlessLines = SavedReading::readLines(endlessBuffer);
    QVERIFY(endlessLines.has_value());
    QVERIFY(endlessBuffer.pos() <= SavedReading::MaxBytesExamined);
    for (const QString& line : *endlessLines)
        QVERIFY(line.size() <= SavedReading::MaxLineLength + 1);
}

void TestSavedReading::savedReadingEnding()
{
    QVERIFY(SavedReading::hasNumEnding(QStringLiteral("/a/b.num")));
    QVERIFY(SavedReading::hasNumEnding(QStringLiteral("/a/bnum")));
    QVERIFY(!SavedReading::hasNumEnding(QStringLiteral("/a/b.NUM")));
    QVERIFY(!SavedReading::hasNumEnding(QStringLiteral("/a/b.nu")));
}

// Whatever the chosen path names, an answer comes at once: nothing when it is not a readable file.
void TestSavedReading::unreadableFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("missing") << QStringLiteral("missing");
    QTest::newRow("folder") << QStringLiteral("folder");
#ifdef Q_OS_UNIX
    QTest::newRow("FIFO with no writer") << QStringLiteral("fifo");
    QTest::newRow("symlink loop") << QStringLiteral("loop");
    QTest::newRow("device") << QStringLiteral("device");
    QTest::newRow("no read permission") << QStringLiteral("mode-000");
#endif
}

void TestSavedReading::unreadableFile()
{
    QFETCH(QString, kind);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("reading.num"));
    if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("reading.num")));
#ifdef Q_OS_UNIX
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("loop")) {
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("other.num")), path));
        QVERIFY(QFile::link(path, dir.filePath(QStringLiteral("other.num"))));
    } else if (kind == QLatin1String("device")) {
        path = QStringLiteral("/dev/zero");
    } else if (kind == QLatin1String("mode-000")) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write("a\nb\nc\nd\ne\nf\n") > 0);
        file.close();
        // Root reads it all the same: CTest runs this program as nobody then.
        QVERIFY(file.setPermissions(QFileDevice::Permissions()));
#endif
    }
    QElapsedTimer timer;
    timer.start();
    QVERIFY(!SavedReading::readFile(path).has_value());
    QVERIFY(timer.elapsed() < 1000);
}

// A FIFO that takes the file's place at any moment (another user's loop in a shared folder) never leaves
// the reading waiting for a writer.
void TestSavedReading::fifoSwappedIn()
{
#ifdef Q_OS_UNIX
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("reading.num")));
    const QByteArray file = path + ".file";
    const QByteArray fifo = path + ".fifo";
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        while (!stop) {
            ::close(::open(file.constData(), O_WRONLY | O_CREAT, 0600));
            ::rename(file.constData(), path.constData());
            ::mkfifo(fifo.constData(), 0600);
            ::rename(fifo.constData(), path.constData());
        }
    });
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 1000)
        SavedReading::readFile(QFile::decodeName(path));
    stop = true;
    swapper.join();
#else
    QSKIP("no FIFOs");
#endif
}

QTEST_APPLESS_MAIN(TestSavedReading)
#include "TestSavedReading.moc"
