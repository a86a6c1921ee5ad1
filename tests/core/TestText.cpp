#include "common/Text.h"

#include <QTest>

class TestText : public QObject
{
    Q_OBJECT
private slots:
    void keepFirstInsertedLine_data();
    void keepFirstInsertedLine();
    void hintFields_data();
    void hintFields();
};

// A one-line box's text after an insert that ends at the cursor, and what the box keeps of it.
void TestText::keepFirstInsertedLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("kept");
    QTest::addColumn<int>("cursorAfter");
    QTest::newRow("one line, no-break and zero-width spaces")
        << "A\u00a0b\u200b\t7" << 3 << "A\u00a0b\u200b\t7" << 3;
    QTest::newRow("tab kept, second line cut") << "Aa\tb\ncnn" << 6 << "Aa\tbnn" << 4;
    QTest::newRow("CR LF") << "x\r\nyBob" << 4 << "xBob" << 1;
    QTest::newRow("break first") << "A\nbcnn" << 4 << "Ann" << 1;
    QTest::newRow("three lines") << "a\nb\nc" << 5 << "a" << 1;
    QTest::newRow("text set whole, cursor before the break") << "a\nb" << 0 << "a" << 0;
    for (const char16_t c : {u'\n', u'\v', u'\f', u'\r', u'\u0085', u'\u2028', u'\u2029'}) {
        QTest::addRow("break U+%04X", unsigned(c))
            << (QStringLiteral("ab") + QChar(c) + QStringLiteral("cd")) << 5 << "ab" << 2;
    }
}

void TestText::keepFirstInsertedLine()
{
    QFETCH(QString, text);
    QFETCH(int, cursor);
    Text::keepFirstInsertedLine(text, cursor);
    QTEST(text, "kept");
    QTEST(cursor, "cursorAfter");
}

// What a field with the hint "Your Name" holds after it takes the focus and after it loses it.
void TestText::hintFields_data()
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

void TestText::hintFields()
{
    QFETCH(QString, text);
    const QString hint = QStringLiteral("Your Name");
    QTEST(Text::textOnFocusIn(text, hint), "afterFocusIn");
    QTEST(Text::textOnFocusOut(text, hint), "afterFocusOut");
}

QTEST_APPLESS_MAIN(TestText)
#include "TestText.moc"
