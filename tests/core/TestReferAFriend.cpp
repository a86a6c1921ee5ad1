#include "exitscreen/ReferAFriend.h"
#include "web/PageUrls.h"

#include <QTest>
#include <QUrl>
#include <QUrlQuery>

class TestReferAFriend : public QObject
{
    Q_OBJECT
private slots:
    void submissionChecks_data();
    void submissionChecks();
    void addressCarriesValuesWhole_data();
    void addressCarriesValuesWhole();
};

void TestReferAFriend::submissionChecks_data()
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
    row("both empty", {"Ann", "", "Hi", "Bob", ""}, "Please Enter Distinct Email Addresses");
    row("no at sign", {"Ann", "ab.c", "Hi", "Bob", "b@c.d"}, proper);
    row("friend's without at sign", {"Ann", "a@b.c", "Hi", "Bob", "bc.d"}, proper);
    row("no dot", {"Ann", "a@b.c", "Hi", "Bob", "b@cd"}, proper);
    row("own without dot", {"Ann", "a@b", "Hi", "Bob", "b@c.d"}, proper);
    row("at and dot only", {"Ann", "@.", "Hi", "Bob", "b@c.d"}, ok);
    row("dot before at", {"Ann", "a.b@c", "Hi", "Bob", "b@c.d"}, ok);
    row("name is the hint", {"Your Name", "a@b.c", "Hi", "Bob", "b@c.d"}, "Please Enter Your Name");
    row("name blank", {"  ", "a@b.c", "Hi", "Bob", "b@c.d"}, "Please Enter Your Name");
    row("name in other case passes", {"your name", "a@b.c", "Hi", "Bob", "b@c.d"}, ok);
    row("untouched message passes", {"Ann", "a@b.c", "Your Message\r\n", "Bob", "b@c.d"}, ok);
    row("message is the hint", {"Ann", "a@b.c", "Your Message", "Bob", "b@c.d"}, "Please Enter Your Message");
    row("message blank", {"Ann", "a@b.c", "  ", "Bob", "b@c.d"}, "Please Enter Your Message");
    row("message of no-break spaces passes", {"Ann", "a@b.c", "\u00a0\u00a0", "Bob", "b@c.d"}, ok);
    row("message before friend's name", {"Ann", "a@b.c", "Your Message", "Friend's Name", "b@c.d"},
        "Please Enter Your Message");
    row("friend is the hint", {"Ann", "a@b.c", "Hi", "Friend's Name", "b@c.d"},
        "Please Enter Your Friend's Name");
    row("friend's name blank", {"Ann", "a@b.c", "Hi", "", "b@c.d"}, "Please Enter Your Friend's Name");
    row("first fault only", {"Your Name", "a@b.c", "", "", "b@c.d"}, "Please Enter Your Name");
    // The bound is 900 characters of the address as sent: a letter outside ASCII takes six there.
    const qsizetype room = 900 - ReferAFriend::address({"Ann", "a@b.c", "", "Bob", "b@c.d"}).size();
    const QString shorter = QStringLiteral("Please Enter Shorter Details");
    row("longest address", {"Ann", "a@b.c", QString(room, u'x'), "Bob", "b@c.d"}, ok);
    row("address one too long", {"Ann", "a@b.c", QString(room + 1, u'x'), "Bob", "b@c.d"}, shorter);
    row("encoded letters counted", {"Ann", "a@b.c", QString(room / 6 + 1, u'\u0416'), "Bob", "b@c.d"},
        shorter);
    row("long but faulty names first", {"", "a@b.c", QString(room + 9, u'x'), "Bob", "b@c.d"},
        "Please Enter Your Name");
}

void TestReferAFriend::submissionChecks()
{
    QFETCH(QStringList, fields);
    QTEST(ReferAFriend::firstProblem({fields[0], fields[1], fields[2], fields[3], fields[4]}), "message");
}

void TestReferAFriend::addressCarriesValuesWhole_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("ampersand and space") << "Tom & Jerry";
    QTest::newRow("query characters") << "a=b#c?d+e%f";
    QTest::newRow("line break") << "Your Message\r\n";
    QTest::newRow("outside the code page") << QString::fromUtf16(u"\u0416\u4E2D\U0001F600");
    QTest::newRow("leading byte order marks") << QString::fromUtf16(u"\uFEFF\uFEFFAnn");
}

void TestReferAFriend::addressCarriesValuesWhole()
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

QTEST_APPLESS_MAIN(TestReferAFriend)
#include "TestReferAFriend.moc"
