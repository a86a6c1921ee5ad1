#include "ReferenceReading.h"

#include <QRandomGenerator>
#include <QTest>

class TestCompatibility : public QObject
{
    Q_OBJECT
private slots:
    void workedExamples_data();
    void workedExamples();
    void randomNamesGroupLikeReference();
    void largestInputs();
};

void TestCompatibility::workedExamples_data()
{
    QTest::addColumn<QString>("yours");
    QTest::addColumn<QString>("partners");
    QTest::addColumn<QString>("groups");
    QTest::addColumn<QString>("marks");
    QTest::addColumn<QString>("pairs");
    QTest::addColumn<QString>("fold");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("level");

    QTest::newRow("JOHN MARY") << "JOHN"
                               << "MARY"
                               << "J O H N M A R Y"
                               << "1 1 1 1 1 1 1 1 0"
                               << "2 2 2 2 0"
                               << "6 2 0" << 8 << 8;
    QTest::newRow("ROMEO JULIET") << "ROMEO"
                                  << "JULIET"
                                  << "R OO M EE J U L I T"
                                  << "1 0 1 0 1 1 1 1 1 0"
                                  << "1 1 2 2 1 0"
                                  << "4 3 1 0" << 11 << 2;
    QTest::newRow("ANNA BOB") << "ANNA"
                              << "BOB"
                              << "AA NN BB O"
                              << "0 0 0 1 0"
                              << "0 1 0"
                              << "1 1 0" << 2 << 2;
    QTest::newRow("A B") << "A"
                         << "B"
                         << "A B"
                         << "1 1 0"
                         << "2 0"
                         << "2 0" << 2 << 2;
    QTest::newRow("A A") << "A"
                         << "A"
                         << "AA"
                         << "0 0"
                         << "0 0"
                         << "0 0" << 0 << 0;
    QTest::newRow("result 19 gives 10") << "ABCDEF"
                                        << "FGHIJKLMN"
                                        << "A B C D E FF G H I J K L M N"
                                        << "1 1 1 1 1 0 1 1 1 1 1 1 1 1 0"
                                        << "2 2 1 2 2 2 2 0"
                                        << "5 6 2 0" << 19 << 10;
    QTest::newRow("26 letters") << "ABCDEFGHIJKLM"
                                << "NOPQRSTUVWXYZ"
                                << "A B C D E F G H I J K L M N O P Q R S T U V W X Y Z"
                                << QString(QStringLiteral("1 ").repeated(26) + u'0')
                                << QString(QStringLiteral("2 ").repeated(13) + u'0') << "6 6 6 6 2 0" << 24
                                << 6;
    QTest::newRow("inner space") << "MARY ANN"
                                 << "JOHN"
                                 << "M AA R Y NNN J O H"
                                 << "1 0 1 1 1 1 1 1 0"
                                 << "1 2 2 2 0"
                                 << "5 2 0" << 7 << 7;
    // Six pair sums, the last taking the filler mark: two triples and an odd U.
    QTest::newRow("six pair sums") << "AABCDE"
                                   << "FGHIJK"
                                   << "AA B C D E F G H I J K"
                                   << "0 1 1 1 1 1 1 1 1 1 1 0"
                                   << "1 2 2 2 2 1 0"
                                   << "5 5 1 0" << 16 << 7;
    // An empty first name puts the separating space first: it forms a group of its own.
    QTest::newRow("empty first name") << ""
                                      << "MARY"
                                      << "  M A R Y"
                                      << "1 1 1 1 1 0"
                                      << "2 2 1 0"
                                      << "5 1 0" << 6 << 6;
    // The calculation compares codes exactly: upper-casing is the caller's business.
    QTest::newRow("case-sensitive") << "john"
                                    << "JOHN"
                                    << "j o h n J O H N"
                                    << "1 1 1 1 1 1 1 1 0"
                                    << "2 2 2 2 0"
                                    << "6 2 0" << 8 << 8;
}

void TestCompatibility::workedExamples()
{
    QFETCH(QString, yours);
    QFETCH(QString, partners);
    const CompatibilitySteps s = compatibilitySteps(yours, partners);
    QTEST(groupsText(s.groups), "groups");
    QTEST(listText(s.marks), "marks");
    QTEST(listText(s.pairSums), "pairs");
    QTEST(listText(s.foldList), "fold");
    QTEST(s.resultNumber, "number");
    QTEST(s.level, "level");
    QTEST(compatibilityLevel(yours, partners), "level");
}

// The grouping against a plain scan of the groups; the steps after it are pinned by the worked examples.
void TestCompatibility::randomNamesGroupLikeReference()
{
    QRandomGenerator rng(20261207);
    for (int round = 0; round < 2000; ++round) {
        auto randomName = [&rng] {
            QString s;
            const int length = static_cast<int>(rng.bounded(12));
            for (int i = 0; i < length; ++i) {
                // Mostly a small alphabet (so groups repeat), with spaces, the odd wide character and the
                // lowest and highest codes.
                constexpr char16_t extremes[] = {0x0000, 0x001F, 0xFFFF};
                const quint32 pick = rng.bounded(12);
                s.append(pick == 0   ? QChar(u' ')
                         : pick == 1 ? QChar(char16_t(0x4E00 + rng.bounded(3)))
                         : pick == 2 ? QChar(extremes[rng.bounded(3)])
                                     : QChar(char16_t(u'A' + rng.bounded(6))));
            }
            return s;
        };
        const QString a = randomName();
        const QString b = randomName();
        QCOMPARE(groupsText(compatibilitySteps(a, b).groups), groupsText(referenceGroups(a, b)));
    }
}

// The largest inputs of the data model: every code distinct, or one letter repeated.
void TestCompatibility::largestInputs()
{
    QString distinct;
    for (int i = 0; i < 32765; ++i)
        distinct.append(QChar(char16_t(0x100 + i)));
    const CompatibilitySteps s = compatibilitySteps(distinct.left(16382), distinct.mid(16382));
    QCOMPARE(s.combined.size(), 32766);
    QCOMPARE(s.groups.size(), std::size_t(32765));
    for (std::size_t i = 0; i < s.groups.size(); ++i) {
        if (s.groups[i].character != distinct[qsizetype(i)].unicode() || s.groups[i].count != 1)
            QFAIL(qPrintable(QStringLiteral("group %1 is wrong").arg(i)));
    }

    const QString repeated(16382, u'A');
    const CompatibilitySteps r = compatibilitySteps(repeated, repeated);
    QCOMPARE(r.groups.size(), std::size_t(1));
    QCOMPARE(r.groups[0].count, 32764);
    QCOMPARE(r.level, 0);

    // Past the limit the result is still defined and nothing overflows: 200,000 B and one A.
    const QString huge(100000, u'B');
    QCOMPARE(compatibilityLevel(huge, huge + u'A'), 1);
}

QTEST_APPLESS_MAIN(TestCompatibility)
#include "TestCompatibility.moc"
