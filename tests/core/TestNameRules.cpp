#include "common/KeyCode.h"
#include "reading/NameRules.h"

#include <QTest>

class TestNameRules : public QObject
{
    Q_OBJECT
private slots:
    void nameKeys_data();
    void nameKeys();
    void nameNormalising_data();
    void nameNormalising();
};

// What a name box does with a key: "pass" when it types nothing (Qt's field handles it), otherwise the
// filter admits or refuses the code it types.
void TestNameRules::nameKeys_data()
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
    QTest::newRow("Ctrl+V without text") << int(Qt::Key_V) << ctrl << "" << 22 << refuse;
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

void TestNameRules::nameKeys()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    const char16_t code = KeyCode::typed(key, Qt::KeyboardModifiers(modifiers), text);
    QTEST(int(code), "code");
    const char* filter = code == 0 ? "pass" : NameRules::isAllowedKey(code) ? "admit" : "refuse";
    QTEST(QString::fromLatin1(filter), "filter");
}

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
