// What a screen reader meets in the windows: every text request of every text field answered at once
// with a range inside the text, and after a reading no key throwing the names away.

#include "ProgramFixture.h"

#include "exitscreen/frmExitScreen.h"
#include "reading/frmMain.h"
#include "window/Accessibility.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPlainTextEdit>
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

// Each text field of both windows holding a text that ends in a letter, a space or a dot: every request
// of every unit at every offset answers with a range inside the text and the text of that range, and the
// attribute runs cover the text.
void TestAccessibility::textRequests_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");

    const char* fields[] = {"txtNameM",      "txtNameF",       "txtName",   "txtEmail",
                            "txtFriendName", "txtFriendEmail", "txtMessage"};
    const char* texts[][2] = {{"letter", "ann"}, {"space", "mary ann "}, {"dot", "Hi. I am Bob."}};
    for (const char* field : fields) {
        for (const auto& text : texts)
            QTest::addRow("%s, %s", field, text[0]) << QByteArray(field) << QString::fromLatin1(text[1]);
    }
    QTest::newRow("txtMessage, two lines") << QByteArray("txtMessage") << QStringLiteral("Hi ann.\nBob ");
}

void TestAccessibility::textRequests()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);

    if (!program) {
        program = std::make_unique<ProgramFixture>();
        program->start();
    }
    const QString name = QString::fromLatin1(field);
    auto* box = program->forms->main().findChild<QWidget*>(name);
    if (!box)
        box = ProgramFixture::child(&program->forms->exitScreen(), field.constData());
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->setText(text);
    else
        qobject_cast<QPlainTextEdit*>(box)->setPlainText(text);
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
    frmMain* main = &program->forms->main();
    QVERIFY(QTest::qWaitForWindowActive(main));
    typeNames(main, QStringLiteral("john"), QStringLiteral("mary"));
    QTest::keyClick(ProgramFixture::child(main, "cmdNext"), Qt::Key_Return);
    QVERIFY(QAccessible::queryAccessibleInterface(QApplication::focusWidget())
                ->text(QAccessible::Description)
                .contains(QStringLiteral("Your Level of Compatibility: 8")));

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
