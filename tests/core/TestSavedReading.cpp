#include "reading/SavedReading.h"

#include <QBuffer>
#include <QTest>

class TestSavedReading : public QObject
{
    Q_OBJECT
private slots:
    void savedReadingLines_data();
    void savedReadingLines();
    void savedReadingIsBounded();
    void savedReadingEnding();
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
    QVERIFY((*read)[6].isEmpty());
}

// However large a file and however long its lines, reading keeps to a fixed budget.
void TestSavedReading::savedReadingIsBounded()
{
    // An overlong line is kept only up to the length the codec takes, and then decodes to nothing.
    QByteArray longLine = QByteArray(100000, 'x') + "\n2\n3\n\x86\x87\n"; // line 4: "12" scrambled
    QBuffer longBuffer(&longLine);
    QVERIFY(longBuffer.open(QIODevice::ReadOnly));
    const auto lines = SavedReading::readLines(longBuffer);
    QVERIFY(lines && (*lines)[0].size() <= SavedReading::MaxLineLength + 1);
    QCOMPARE((*lines)[1], QStringLiteral("2"));
    QCOMPARE(SavedReading::birthDate(*lines).month, QStringLiteral("12"));

    // Without line ends, reading stops at the budget: the device is not read to its end.
    QByteArray endless(8 * SavedReading::MaxBytesExamined, 'y');
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
    QVERIFY(!SavedReading::readFile(QStringLiteral("/nonexistent/x.num")).has_value());
    QVERIFY(!SavedReading::readFile(QStringLiteral("/tmp")).has_value());
}

QTEST_APPLESS_MAIN(TestSavedReading)
#include "TestSavedReading.moc"
