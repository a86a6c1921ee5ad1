#include "reading/CodePage.h"
#include "reading/ShiftCodec.h"

#include <QTest>

namespace {

QString fromCodes(std::initializer_list<int> codes)
{
    QString s;
    for (int c : codes)
        s.append(CodePage::fromByte(static_cast<unsigned char>(c)));
    return s;
}

QString allCodes(int from, int to)
{
    QString s;
    for (int c = from; c <= to; ++c)
        s.append(CodePage::fromByte(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

class TestCodec : public QObject
{
    Q_OBJECT
private slots:
    void everyByteRoundTripsThroughTheCodePage();
    void windows1252Characters();
    void shifts_data();
    void shifts();
    void roundTrips();
};

void TestCodec::everyByteRoundTripsThroughTheCodePage()
{
    for (int b = 0; b < 256; ++b)
        QCOMPARE(CodePage::toByte(CodePage::fromByte(static_cast<unsigned char>(b))), b);
}

void TestCodec::windows1252Characters()
{
    QCOMPARE(CodePage::fromByte(0x80), QChar(0x20AC));
    QCOMPARE(CodePage::fromByte(0x99), QChar(0x2122));
    QCOMPARE(CodePage::fromByte(0xE9), QChar(0xE9));
    QCOMPARE(CodePage::toByte(QChar(0x0178)), 0x9F);
    QCOMPARE(CodePage::toByte(QChar(0x03A9)), -1); // Greek omega: not in the code page
    const QByteArray bytes("\x80\xB6\xFF", 3);
    QCOMPARE(CodePage::decode(bytes.constData(), bytes.size()), QString::fromUtf16(u"\u20AC\u00B6\u00FF"));
}

void TestCodec::shifts_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("encoded");
    QTest::addColumn<QString>("decoded");
    QTest::newRow("empty") << QString() << QString() << QString();
    QTest::newRow("abc") << "abc" << fromCodes({182, 183, 184}) << fromCodes({12, 13, 14});
    QTest::newRow("encoded abc decodes") << fromCodes({182, 183, 184}) << QString() << "abc";
    // Digits, slashes and capitals A to T have codes below 85: decoding drops them all.
    QTest::newRow("plain date") << "12/31/2008"
                                << fromCodes({134, 135, 132, 136, 134, 132, 135, 133, 133, 141}) << QString();
    QTest::newRow("code above 170 dropped by encode")
        << QString(QChar(0xE9)) << QString() << fromCodes({148});
    QTest::newRow("not in the code page")
        << QString::fromUtf16(u"a\u03A9b") << fromCodes({182, 183}) << fromCodes({12, 13});
    QTest::newRow("key name Duration") << "Duration" << fromCodes({153, 202, 199, 182, 201, 190, 196, 195})
                                       << fromCodes({32, 29, 12, 31, 20, 26, 25});
    QTest::newRow("longer than 32767") << QString(32768, u'a') << QString() << QString();
    QTest::newRow("exactly 32767") << QString(32767, u'a') << QString(32767, CodePage::fromByte(182))
                                   << QString(32767, CodePage::fromByte(12));
}

void TestCodec::shifts()
{
    QFETCH(QString, input);
    QTEST(ShiftEncode(input), "encoded");
    QTEST(ShiftDecode(input), "decoded");
}

void TestCodec::roundTrips()
{
    const QString low = allCodes(0, 170);
    QCOMPARE(ShiftDecode(ShiftEncode(low)), low);
    const QString high = allCodes(85, 255);
    QCOMPARE(ShiftEncode(ShiftDecode(high)), high);
    QCOMPARE(ShiftEncode(allCodes(171, 255)), QString());
    QCOMPARE(ShiftDecode(allCodes(0, 84)), QString());
}

QTEST_APPLESS_MAIN(TestCodec)
#include "TestCodec.moc"
