#include "reading/NameRules.h"

#include <QTest>

class TestNameRules : public QObject
{
    Q_OBJECT
private slots:
    void nameNormalising_data();
    void nameNormalising();
};

void TestNameRules::nameNormalising_data()
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
    const char16_t lone[] = {u'x', 0xd801, u'y'};
    const char16_t loneUpper[] = {u'X', 0xd801, u'Y'};
    QTest::newRow("lone surrogate stays")
        << QString::fromUtf16(lone, 3) << QString::fromUtf16(loneUpper, 3) << false;
}

void TestNameRules::nameNormalising()
{
    QFETCH(QString, box);
    QTEST(NameRules::normalize(box), "name");
    QTEST(NameRules::isBlank(box), "blank");
}

QTEST_APPLESS_MAIN(TestNameRules)
#include "TestNameRules.moc"
