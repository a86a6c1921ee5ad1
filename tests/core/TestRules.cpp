#include "common/AppInfo.h"
#include "common/KeyCode.h"
#include "exitscreen/ReferAFriend.h"
#include "reading/NameRules.h"
#include "reading/SavedReading.h"
#include "reading/ShiftCodec.h"
#include "web/PageUrls.h"
#include "web/PromoDraw.h"

#include <QBuffer>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include <array>

class TestRules : public QObject
{
    Q_OBJECT
private slots:
    void nameKeys_data();
    void nameKeys();
    void nameNormalising_data();
    void nameNormalising();

    void coBrandOddsOverEveryDraw();
    void coBrandRounding_data();
    void coBrandRounding();
    void exitCaptionOddsOverEveryDraw();

    void pageAddresses();
    void applicationName_data();
    void applicationName();

    void hintFields_data();
    void hintFields();
    void submissionChecks_data();
    void submissionChecks();
    void addressCarriesValuesWhole_data();
    void addressCarriesValuesWhole();

    void savedReadingLines_data();
    void savedReadingLines();
    void savedReadingIsBounded();
    void savedReadingEnding();
};

// What a name box does with a key: "pass" when it types nothing (Qt's field handles it), otherwise the
// filter admits or refuses the code it types.
void TestRules::nameKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("filter");

    const int ctrl = Qt::ControlModifier;
    const QString admit = QStringLiteral("admit");
    const QString refuse = QStringLiteral("refuse");
    const QString pass = QStringLiteral("pass");
    QTest::newRow("capital") << int(Qt::Key_Q) << 0 << "Q" << 81 << admit;
    QTest::newRow("small letter") << int(Qt::Key_Z) << 0 << "z" << 122 << admit;
    QTest::newRow("space") << int(Qt::Key_Space) << 0 << " " << 32 << admit;
    QTest::newRow("Backspace") << int(Qt::Key_Backspace) << 0 << "\b" << 8 << admit;
    QTest::newRow("Ctrl+H is a backspace") << int(Qt::Key_H) << ctrl << "\b" << 8 << admit;
    QTest::newRow("Ctrl+H, text h") << int(Qt::Key_H) << ctrl << "h" << 8 << admit;
    QTest::newRow("Ctrl+Backspace") << int(Qt::Key_Backspace) << ctrl << "\b" << 127 << refuse;
    QTest::newRow("Ctrl+Backspace, text DEL") << int(Qt::Key_Backspace) << ctrl << "\x7f" << 127 << refuse;
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << ctrl << "a" << 1 << refuse;
    QTest::newRow("Ctrl+[") << int(Qt::Key_BracketLeft) << ctrl << "\x1b" << 27 << refuse;
    QTest::newRow("digit") << int(Qt::Key_7) << 0 << "7" << 55 << refuse;
    QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << "\r" << 13 << refuse;
    QTest::newRow("Escape") << int(Qt::Key_Escape) << 0 << "\x1b" << 27 << refuse;
    QTest::newRow("accented letter") << int(Qt::Key_Eacute) << 0 << "\u00e9" << 0xE9 << refuse;
    QTest::newRow("AltGr at sign") << int(Qt::Key_Q) << int(ctrl | Qt::AltModifier) << "@" << 64 << refuse;
    QTest::newRow("Alt+letter") << int(Qt::Key_X) << int(Qt::AltModifier) << "x" << 0 << pass;
    QTest::newRow("Delete") << int(Qt::Key_Delete) << 0 << "\x7f" << 0 << pass;
    QTest::newRow("Tab") << int(Qt::Key_Tab) << 0 << "\t" << 0 << pass;
    QTest::newRow("arrow") << int(Qt::Key_Left) << 0 << "" << 0 << pass;
}

void TestRules::nameKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    const char16_t code = KeyCode::typed(key, Qt::KeyboardModifiers(modifiers), text);
    QTEST(int(code), "code");
    const char* filter = code == 0 ? "pass" : NameRules::isAllowedKey(code) ? "admit" : "refuse";
    QTEST(QString::fromLatin1(filter), "filter");
}

void TestRules::nameNormalising_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("blank");
    QTest::newRow("lower case") << "john"
                                << "JOHN" << false;
    QTest::newRow("outer spaces") << "  mary ann "
                                  << "MARY ANN" << false;
    QTest::newRow("spaces only") << "   "
                                 << "" << true;
    QTest::newRow("empty") << ""
                           << "" << true;
    QTest::newRow("tab is not trimmed") << "\tjo"
                                        << "\tJO" << false;
    // One character for one: a letter without a single upper-case form stays, so no name grows.
    QTest::newRow("sharp s stays") << QStringLiteral("stra\u00dfe") << QStringLiteral("STRA\u00dfE") << false;
    QTest::newRow("ligature stays") << QStringLiteral("\ufb01n") << QStringLiteral("\ufb01N") << false;
    QTest::newRow("accented letter") << QStringLiteral("\u00e9") << QStringLiteral("\u00c9") << false;
    QTest::newRow("beyond 16 bits") << QStringLiteral("\U00010428") << QStringLiteral("\U00010400") << false;
}

void TestRules::nameNormalising()
{
    QFETCH(QString, box);
    QTEST(NameRules::normalize(box), "name");
    QTEST(NameRules::isBlank(box), "blank");
}

// Every value a 24-bit single-precision generator can give, so the odds are exact, not sampled.
void TestRules::coBrandOddsOverEveryDraw()
{
    std::array<int, 8> count{};
    for (quint32 k = 0; k < (1u << 24); ++k) {
        const int n = PromoDraw::coBrandNumber(static_cast<float>(k) / 16777216.0f);
        QVERIFY(n >= 1 && n <= 7);
        ++count[std::size_t(n)];
    }
    const double total = 1u << 24;
    // 1 and 7 each cover half a step of r * 6 + 1; 2 to 6 a whole step. Ties go to even, so the share of
    // each may differ from the ideal by the single value at a boundary.
    for (int n = 1; n <= 7; ++n) {
        const double ideal = (n == 1 || n == 7) ? 1.0 / 12 : 1.0 / 6;
        QVERIFY2(std::abs(count[std::size_t(n)] / total - ideal) < 1e-6, qPrintable(QString::number(n)));
    }
    const double coBrand = (count[1] + count[3] + count[5]) / total;
    const double fullBrand = (count[2] + count[4] + count[6]) / total;
    QVERIFY(std::abs(coBrand - 5.0 / 12) < 1e-6);
    QVERIFY(std::abs(fullBrand - 0.5) < 1e-6);
    QVERIFY(std::abs(count[7] / total - 1.0 / 12) < 1e-6);
}

void TestRules::coBrandRounding_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("number");
    QTest::addColumn<StripOffer>("offer");
    QTest::newRow("0") << 0.0f << 1 << StripOffer::CoBrand;
    QTest::newRow("1.5 to 2") << 1.0f / 12 << 2 << StripOffer::FullBrand;
    QTest::newRow("2.5 to 2") << 0.25f << 2 << StripOffer::FullBrand;
    QTest::newRow("just over 2.5") << 0.2500001f << 3 << StripOffer::CoBrand;
    QTest::newRow("6.5 to 6") << 0.9166666666f << 6 << StripOffer::FullBrand;
    QTest::newRow("largest") << 0.99999994f << 7 << StripOffer::Unchanged;
}

void TestRules::coBrandRounding()
{
    QFETCH(float, r);
    QFETCH(int, number);
    QCOMPARE(PromoDraw::coBrandNumber(r), number);
    QTEST(PromoDraw::stripOffer(number), "offer");
}

void TestRules::exitCaptionOddsOverEveryDraw()
{
    std::array<int, 4> count{};
    for (quint32 k = 0; k < (1u << 24); ++k)
        ++count[std::size_t(PromoDraw::exitCaptionIndex(static_cast<float>(k) / 16777216.0f))];
    for (int c : count)
        QCOMPARE(c, 1 << 22);
}

void TestRules::pageAddresses()
{
    const QString base = QLatin1String(PageUrls::PageBaseUrl);
    QVERIFY(base.startsWith(QLatin1String("http://")));
    QVERIFY(base.endsWith(QLatin1String("/qz-free-name-compatibility/")));
    const std::pair<const char*, const char*> pages[] = {
        {PageUrls::HomePage, "home-page"},
        {PageUrls::HelpPage, "help-web-page"},
        {PageUrls::DownloadPage, "download-web-page"},
        {PageUrls::DonatePage, "donate"},
        {PageUrls::CoBrandPage, "co-brand"},
        {PageUrls::FullyBrandedPage, "fully-branded"},
        {PageUrls::SoftwaresPage, "kelpansoftwares"},
    };
    for (const auto& [url, key] : pages)
        QCOMPARE(QLatin1String(url), base + QLatin1String("ssd.php?page=") + QLatin1String(key));
    QCOMPARE(QLatin1String(PageUrls::SiteAddress) + QLatin1String("/qz-free-name-compatibility/"), base);
}

void TestRules::applicationName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("installed") << "/usr/bin/QZFreeNameCompatibility"
                               << "QZFreeNameCompatibility";
    QTest::newRow("dots kept") << "/opt/qz/QZ.Free v2"
                               << "QZ.Free v2";
    QTest::newRow("Windows path") << "C:\\Program Files\\QZ\\QZ.Free v2.exe"
                                  << "QZ.Free v2";
    QTest::newRow("ending in capitals") << "C:/QZ/QZFREE.EXE"
                                        << "QZFREE";
    QTest::newRow("no folder") << "QZFreeNameCompatibility.exe"
                               << "QZFreeNameCompatibility";
}

void TestRules::applicationName()
{
    QFETCH(QString, path);
    QTEST(AppInfo::applicationName(path), "name");
}

void TestRules::hintFields_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("afterFocusIn");
    QTest::addColumn<QString>("afterFocusOut");
    QTest::newRow("hint") << "Your Name"
                          << ""
                          << "Your Name";
    QTest::newRow("hint in spaces") << "  Your Name "
                                    << ""
                                    << "  Your Name ";
    QTest::newRow("other case is a name") << "your name"
                                          << "your name"
                                          << "your name";
    QTest::newRow("blank") << "   "
                           << "   "
                           << "Your Name";
    QTest::newRow("empty") << ""
                           << ""
                           << "Your Name";
    QTest::newRow("text kept untrimmed") << " Ann "
                                         << " Ann "
                                         << " Ann ";
}

void TestRules::hintFields()
{
    QFETCH(QString, text);
    QTEST(ReferAFriend::textOnFocusIn(text, ReferAFriend::nameHint()), "afterFocusIn");
    QTEST(ReferAFriend::textOnFocusOut(text, ReferAFriend::nameHint()), "afterFocusOut");
}

void TestRules::submissionChecks_data()
{
    QTest::addColumn<QStringList>("fields"); // name, email, message, friend's name, friend's email
    QTest::addColumn<QString>("message");
    const QString proper = QStringLiteral("Please Enter Proper Email Address");
    const QString ok;
    auto row = [](const char* name, QStringList f, const QString& m) { QTest::newRow(name) << f << m; };
    row("untouched form",
        {"Your Name", "Your Email Address", "Your Message\r\n", "Friend's Name", "Friend's Email Address"},
        proper);
    row("same address", {"", "a@b.c", "", "", " a@b.c "}, "Please Enter Distinct Email Addresses");
    row("addresses differ in case", {"Ann", "a@b.c", "Hi", "Bob", "A@b.c"}, ok);
    row("no at sign", {"Ann", "ab.c", "Hi", "Bob", "b@c.d"}, proper);
    row("no dot", {"Ann", "a@b.c", "Hi", "Bob", "b@cd"}, proper);
    row("at and dot only", {"Ann", "@.", "Hi", "Bob", "b@c.d"}, ok);
    row("dot before at", {"Ann", "a.b@c", "Hi", "Bob", "b@c.d"}, ok);
    row("name is the hint", {"Your Name", "a@b.c", "Hi", "Bob", "b@c.d"}, "Please Enter Your Name");
    row("name blank", {"  ", "a@b.c", "Hi", "Bob", "b@c.d"}, "Please Enter Your Name");
    row("untouched message passes", {"Ann", "a@b.c", "Your Message\r\n", "Bob", "b@c.d"}, ok);
    row("message is the hint", {"Ann", "a@b.c", "Your Message", "Bob", "b@c.d"}, "Please Enter Your Message");
    row("friend is the hint", {"Ann", "a@b.c", "Hi", "Friend's Name", "b@c.d"},
        "Please Enter Your Friend's Name");
    row("first fault only", {"Your Name", "a@b.c", "", "", "b@c.d"}, "Please Enter Your Name");
}

void TestRules::submissionChecks()
{
    QFETCH(QStringList, fields);
    const ReferAFriend::Values v{fields[0], fields[1], fields[2], fields[3], fields[4]};
    QString problem = ReferAFriend::emailProblem(v.email, v.friendEmail);
    if (problem.isEmpty())
        problem = ReferAFriend::fieldProblem(v);
    QTEST(problem, "message");
}

void TestRules::addressCarriesValuesWhole_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("ampersand and space") << "Tom & Jerry";
    QTest::newRow("query characters") << "a=b#c?d+e%f";
    QTest::newRow("line break") << "Your Message\r\n";
    QTest::newRow("outside the code page") << QString::fromUtf16(u"\u0416\u4E2D\U0001F600");
    QTest::newRow("leading byte order marks") << QString::fromUtf16(u"\uFEFF\uFEFFAnn");
}

void TestRules::addressCarriesValuesWhole()
{
    QFETCH(QString, value);
    const ReferAFriend::Values v{value, QStringLiteral("a@b.c"), value, value + u'2',
                                 QStringLiteral("b@c.d")};
    const QString address = ReferAFriend::address(v);
    QVERIFY(address.startsWith(QLatin1String(PageUrls::ReferAFriendPage) + QLatin1String("&taf1=")));
    const QUrl url(address, QUrl::StrictMode);
    QVERIFY(url.isValid());
    const QUrlQuery query(url);
    const auto items = query.queryItems(QUrl::FullyDecoded);
    QStringList keys;
    for (const auto& item : items)
        keys << item.first;
    QCOMPARE(keys, QStringList({"page", "taf1", "taf2", "taf3", "taf4", "taf5", "taf6"}));
    QCOMPARE(query.queryItemValue(QStringLiteral("page")), QStringLiteral("qzkl-refer-a-friend"));
    QCOMPARE(query.queryItemValue(QStringLiteral("taf1"), QUrl::FullyDecoded), value);
    QCOMPARE(query.queryItemValue(QStringLiteral("taf3"), QUrl::FullyDecoded), value);
    QCOMPARE(query.queryItemValue(QStringLiteral("taf4"), QUrl::FullyDecoded), value + u'2');
    QCOMPARE(query.queryItemValue(QStringLiteral("taf6"), QUrl::FullyDecoded),
             QLatin1String(PageUrls::PageBaseUrl));
}

void TestRules::savedReadingLines_data()
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

void TestRules::savedReadingLines()
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
void TestRules::savedReadingIsBounded()
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

void TestRules::savedReadingEnding()
{
    QVERIFY(SavedReading::hasNumEnding(QStringLiteral("/a/b.num")));
    QVERIFY(SavedReading::hasNumEnding(QStringLiteral("/a/bnum")));
    QVERIFY(!SavedReading::hasNumEnding(QStringLiteral("/a/b.NUM")));
    QVERIFY(!SavedReading::hasNumEnding(QStringLiteral("/a/b.nu")));
    QVERIFY(!SavedReading::readFile(QStringLiteral("/nonexistent/x.num")).has_value());
    QVERIFY(!SavedReading::readFile(QStringLiteral("/tmp")).has_value());
}

QTEST_APPLESS_MAIN(TestRules)
#include "TestRules.moc"
