// What a screen reader meets in the windows: every text request of every text field answered at once
// with a range inside the text, and after a reading no key throwing the names away.

#include "ProgramFixture.h"

#include "exitscreen/frmExitScreen.h"
#include "reading/frmMain.h"
#include "window/Accessibility.h"

#include <QAccessible>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
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
    void keysAfterReadingKeepTheNames_data();
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
        box = ProgramFixture::child(program->forms->exitScreen().widget(), field.constData());
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

// After a reading, by its button or by the open command, a second Enter or Space, or an Enter held down,
// leaves the names and the result page; the focus is where a screen reader finds the result.
void TestAccessibility::keysAfterReadingKeepTheNames_data()
{
    QTest::addColumn<bool>("open");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("repeats");

    QTest::newRow("Enter") << false << int(Qt::Key_Return) << 0;
    QTest::newRow("Space") << false << int(Qt::Key_Space) << 0;
    QTest::newRow("Enter held") << false << int(Qt::Key_Return) << 5;
    QTest::newRow("Enter after the open command") << true << int(Qt::Key_Return) << 0;
}

void TestAccessibility::keysAfterReadingKeepTheNames()
{
    QFETCH(bool, open);
    QFETCH(int, key);
    QFETCH(int, repeats);

    program.reset();
    program = std::make_unique<ProgramFixture>();
    program->start();
    frmMain* main = &program->forms->main();
    QVERIFY(QTest::qWaitForWindowActive(main));
    typeNames(main, QStringLiteral("john"), QStringLiteral("mary"));
    QTemporaryDir dir;
    if (open) {
        const QString path = dir.filePath(QStringLiteral("saved.num"));
        program->fake.files.nextPath = path;
        QFile saved(path);
        QVERIFY(saved.open(QIODevice::WriteOnly) && saved.write("1\n2\n3\n4\n5\n6\n") == 12);
        saved.close();
        QTest::mouseClick(ProgramFixture::child(main, "cmdOpen"), Qt::LeftButton);
    } else {
        QTest::keyClick(ProgramFixture::child(main, "cmdNext"), Qt::Key_Return);
    }
    QVERIFY(resultPageInFront(main));
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus);
    QVERIFY(QAccessible::queryAccessibleInterface(focus)
                ->text(QAccessible::Description)
                .contains(QStringLiteral("Your Level of Compatibility: 8")));

    const QString typed = key == Qt::Key_Space ? QStringLiteral(" ") : QStringLiteral("\r");
    for (int i = 0; i <= repeats; ++i) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, typed, i > 0);
        QApplication::sendEvent(QApplication::focusWidget(), &press);
    }
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, typed);
    QApplication::sendEvent(QApplication::focusWidget(), &release);

    QCOMPARE(ProgramFixture::child<QLineEdit>(main, "txtNameM")->text(), QStringLiteral("john"));
    QCOMPARE(ProgramFixture::child<QLineEdit>(main, "txtNameF")->text(), QStringLiteral("mary"));
    QVERIFY(resultPageInFront(main));
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

QTEST_MAIN(TestAccessibility)
#include "TestAccessibility.moc"
