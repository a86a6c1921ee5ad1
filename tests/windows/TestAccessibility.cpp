// What a screen reader meets in the windows: every text request of a one-line text field answered at once
// with a range inside the text, and after a reading no key throwing the names away.

#include "ProgramFixture.h"

#include "window/Accessibility.h"

#include <QAccessible>
#include <QLineEdit>
#include <QTest>

#include <memory>

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void textRequests_data();
    void textRequests();
    void keysAfterReadingKeepTheNames();

private:
    TemporarySettingsFolder settingsFolder;
    std::unique_ptr<ProgramFixture> program;
};

void TestAccessibility::initTestCase()
{
    Accessibility::install();
}

void TestAccessibility::cleanupTestCase()
{
    program.reset();
}

// The program's one-line text field (every one-line box of both windows is one) holding a text that ends
// in a letter, a space or a dot: every request of every unit at every offset answers with a range inside
// the text and the text of that range, and the attribute runs cover the text.
void TestAccessibility::textRequests_data()
{
    QTest::addColumn<QString>("text");

    QTest::newRow("letter") << QStringLiteral("ann");
    QTest::newRow("space") << QStringLiteral("mary ann ");
    QTest::newRow("dot") << QStringLiteral("Hi. I am Bob.");
}

void TestAccessibility::textRequests()
{
    QFETCH(QString, text);

    if (!program) {
        program = std::make_unique<ProgramFixture>();
        program->start();
    }
    auto* box = ProgramFixture::child<QLineEdit>(ProgramFixture::topLevel("frmMain"), "txtNameM");
    box->setText(text);
    QAccessibleTextInterface* requests = QAccessible::queryAccessibleInterface(box)->textInterface();
    QVERIFY(requests);
    QCOMPARE(requests->text(0, requests->characterCount()), text);

    using Request =
        QString (QAccessibleTextInterface::*)(int, QAccessible::TextBoundaryType, int*, int*) const;
    const std::pair<const char*, Request> kinds[] = {{"at", &QAccessibleTextInterface::textAtOffset},
                                                     {"before", &QAccessibleTextInterface::textBeforeOffset},
                                                     {"after", &QAccessibleTextInterface::textAfterOffset}};
    const std::pair<const char*, QAccessible::TextBoundaryType> units[] = {
        {"character", QAccessible::CharBoundary},
        {"word", QAccessible::WordBoundary},
        {"sentence", QAccessible::SentenceBoundary},
        {"line", QAccessible::LineBoundary},
        {"paragraph", QAccessible::ParagraphBoundary}};
    const int length = int(text.size());
    for (const auto& [kind, request] : kinds) {
        for (const auto& [unit, boundary] : units) {
            for (int offset = 0; offset <= length; ++offset) {
                const QByteArray what = QByteArray(unit) + ' ' + kind + ' ' + QByteArray::number(offset);
                int start = -1;
                int end = -1;
                const QString answer = (requests->*request)(offset, boundary, &start, &end);
                QVERIFY2(0 <= start && start <= end && end <= length,
                         what + ": " + QByteArray::number(start) + '-' + QByteArray::number(end));
                QCOMPARE(answer, text.mid(start, end - start));
            }
        }
    }
    for (int offset = 0; offset < length; ++offset) {
        int start = -1;
        int end = -1;
        requests->attributes(offset, &start, &end);
        QVERIFY2(0 <= start && start <= offset && offset < end && end <= length,
                 "attributes at " + QByteArray::number(offset) + ": " + QByteArray::number(start) + '-' +
                     QByteArray::number(end));
    }
}

// After a reading, Enter held down and then Space leave the names and the result page; the focus is where a
// screen reader finds the result.
void TestAccessibility::keysAfterReadingKeepTheNames()
{
    program.reset();
    program = std::make_unique<ProgramFixture>();
    program->start();
    QWidget* main = ProgramFixture::topLevel("frmMain");
    QVERIFY(QTest::qWaitForWindowActive(main));
    typeNames(main, QStringLiteral("john"), QStringLiteral("mary"));
    QTest::keyClick(ProgramFixture::child(main, "cmdNext"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Frame2"));

    for (bool repeated : {false, true, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"), repeated);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);

    QCOMPARE(ProgramFixture::child<QLineEdit>(main, "txtNameM")->text(), QStringLiteral("john"));
    QCOMPARE(ProgramFixture::child<QLineEdit>(main, "txtNameF")->text(), QStringLiteral("mary"));
    QVERIFY(resultPageInFront(main));
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

QTEST_MAIN(TestAccessibility)
#include "TestAccessibility.moc"
