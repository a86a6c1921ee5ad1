// The refer-a-friend form of the exit screen: hints that clear and come back with the focus, e-mail
// fields without typed spaces, and the checks and address of a submission.

#include "ProgramFixture.h"
#include "SiteConfig.h"
#include "TestSupport.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include <iterator>

namespace {

const QString PageBase = QStringLiteral("http://" QZ_SITE_HOST "/qz-free-name-compatibility/");

// The query of a submitted address as (key, decoded value) pairs, in order.
QList<QPair<QString, QString>> queryOf(const QString& url)
{
    QList<QPair<QString, QString>> items;
    const qsizetype q = url.indexOf(u'?');
    if (q < 0)
        return items;
    for (const QString& part : url.mid(q + 1).split(u'&')) {
        const QString key = part.section(u'=', 0, 0);
        const QString value = part.mid(key.size() + 1);
        items.append({key, QUrl::fromPercentEncoding(value.toUtf8())});
    }
    return items;
}

} // namespace

class TestExitForm : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void hintOnFocus_data();
    void hintOnFocus();
    void messageHintComesBackWithoutLineBreak();
    void hintStaysGoneWhileAnotherWindowIsActive();
    void lineBreakKeysInMessage_data();
    void lineBreakKeysInMessage();
    void tabOrder();
    void typedSpaceInEmail_data();
    void typedSpaceInEmail();
    void pasteIntoEmail_data();
    void pasteIntoEmail();
    void wordMoves_data();
    void wordMoves();

    void submissionCheck_data();
    void submissionCheck();
    void submissionAddress_data();
    void submissionAddress();

private:
    QLineEdit* field(const char* name) const { return ProgramFixture::child<QLineEdit>(screen, name); }
    QPlainTextEdit* txtMessage() const { return ProgramFixture::child<QPlainTextEdit>(screen, "txtMessage"); }
    QWidget* w(const char* name) const { return ProgramFixture::child(screen, name); }
    // Gives the field the focus the way the user does: a click, or Tab for the unseen message box.
    void enter(QWidget* control);
    void leave(QWidget* control) { QTest::keyClick(control, Qt::Key_Tab); }
    void fill(const QString& name, const QString& email, const QString& friendName,
              const QString& friendEmail);

    TemporarySettingsFolder settingsFolder;
    std::unique_ptr<ProgramFixture> program;
    QWidget* screen = nullptr;
};

void TestExitForm::init()
{
    program = std::make_unique<ProgramFixture>();
    program->start();
    QVERIFY(ProgramFixture::topLevel("frmMain")->close());
    screen = ProgramFixture::topLevel("frmExitScreen");
    screen->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(screen));
    QVERIFY(hasFocus(w("cmdClose")));
    program->fake.messages.clear();
}

void TestExitForm::cleanup()
{
    screen = nullptr;
    program.reset();
}

void TestExitForm::enter(QWidget* control)
{
    if (control->objectName() == QLatin1String("txtMessage")) {
        QTest::mouseClick(w("txtFriendName"), Qt::LeftButton);
        QTest::keyClick(w("txtFriendName"), Qt::Key_Tab);
    } else {
        QTest::mouseClick(control, Qt::LeftButton);
    }
    QVERIFY(hasFocus(control));
    QCoreApplication::processEvents(); // the hint goes once the focus has been reported
}

void TestExitForm::fill(const QString& name, const QString& email, const QString& friendName,
                        const QString& friendEmail)
{
    field("txtName")->setText(name);
    field("txtEmail")->setText(email);
    field("txtFriendName")->setText(friendName);
    field("txtFriendEmail")->setText(friendEmail);
}

// One row per field: each field's handlers clear and restore that field's own hint.
void TestExitForm::hintOnFocus_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("hint");
    for (const auto& [name, hint] : {std::pair{"txtName", "Your Name"},
                                     {"txtEmail", "Your Email Address"},
                                     {"txtFriendName", "Friend's Name"},
                                     {"txtFriendEmail", "Friend's Email Address"}}) {
        QTest::newRow(name) << QByteArray(name) << QString::fromUtf8(hint);
    }
}

void TestExitForm::hintOnFocus()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, hint);
    QLineEdit* box = this->field(field.constData());
    QCOMPARE(box->text(), hint);

    enter(box);
    QCOMPARE(box->text(), QString());
    leave(box);
    QVERIFY(!hasFocus(box));
    QCOMPARE(box->text(), hint);
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

// The message starts with a line break after its hint, so the first visit keeps it; once emptied and
// left it shows the bare hint and behaves like the other fields.
void TestExitForm::messageHintComesBackWithoutLineBreak()
{
    QPlainTextEdit* box = txtMessage();
    QCOMPARE(box->toPlainText(), QStringLiteral("Your Message\n"));

    enter(box);
    QCOMPARE(box->toPlainText(), QStringLiteral("Your Message\n"));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    leave(box);
    QCOMPARE(box->toPlainText(), QStringLiteral("Your Message"));

    enter(box);
    QCOMPARE(box->toPlainText(), QString());
}

// Another window taking the focus is not the user leaving the field: the emptied field stays empty.
void TestExitForm::hintStaysGoneWhileAnotherWindowIsActive()
{
    QLineEdit* box = field("txtName");
    enter(box);
    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QCOMPARE(box->text(), QString());
}

// Enter, Shift+Enter and Ctrl+Enter break the message's line alike, as in a Windows multi-line box: the
// page receives CR LF for each.
void TestExitForm::lineBreakKeysInMessage_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Enter") << int(Qt::Key_Return) << int(Qt::NoModifier);
    QTest::newRow("Shift+Enter") << int(Qt::Key_Return) << int(Qt::ShiftModifier);
    QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier);
    QTest::newRow("Ctrl+Shift+keypad Enter")
        << int(Qt::Key_Enter) << int(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
}

void TestExitForm::lineBreakKeysInMessage()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    fill(QStringLiteral("Ann"), QStringLiteral("a@b.c"), QStringLiteral("Bob"), QStringLiteral("b@c.d"));
    QPlainTextEdit* box = txtMessage();
    enter(box);
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("Hi"));
    QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QTest::keyClicks(box, QStringLiteral("there"));

    QTest::mouseClick(w("cmdSubmit"), Qt::LeftButton);
    QCOMPARE(program->fake.browser.opened.size(), 1);
    QCOMPARE(queryOf(program->fake.browser.opened[0]).value(3).second, QStringLiteral("Hi\r\nthere"));
}

void TestExitForm::tabOrder()
{
    const char* order[] = {"cmdClose", "Check1",         "txtName",       "cmdSubmit",
                           "txtEmail", "txtFriendEmail", "txtFriendName", "txtMessage"};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(hasFocus(w(order[i])), order[i]);
    }
}

void TestExitForm::typedSpaceInEmail_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<bool>("composed"); // committed by an input method rather than typed
    QTest::newRow("txtEmail") << QByteArray("txtEmail") << true << false;
    QTest::newRow("txtFriendEmail") << QByteArray("txtFriendEmail") << true << false;
    QTest::newRow("txtName") << QByteArray("txtName") << false << false;
    QTest::newRow("txtFriendName") << QByteArray("txtFriendName") << false << false;
    QTest::newRow("txtEmail composed") << QByteArray("txtEmail") << true << true;
    QTest::newRow("txtName composed") << QByteArray("txtName") << false << true;
}

void TestExitForm::typedSpaceInEmail()
{
    QFETCH(QByteArray, field);
    QFETCH(bool, refused);
    QLineEdit* box = this->field(field.constData());
    enter(box);
    QTest::keyClicks(box, QStringLiteral("ab"));
    bool focusedWhileShown = false;
    program->fake.messages.onShow = [&](const FakeMessages::Shown&) { focusedWhileShown = hasFocus(box); };

    QFETCH(bool, composed);
    if (composed) {
        QInputMethodEvent event;
        event.setCommitString(QStringLiteral(" "));
        QApplication::sendEvent(box, &event);
    } else {
        QTest::keyClick(box, Qt::Key_Space);
    }
    QTest::keyClicks(box, QStringLiteral("c"));

    if (refused) {
        QCOMPARE(program->fake.messages.texts(),
                 QStringList{QStringLiteral("Email Address Cannot Contain Space")});
        QCOMPARE(program->fake.messages.shown.first().kind, FakeMessages::Kind::Error);
        QVERIFY(focusedWhileShown);
        QCOMPARE(box->text(), QStringLiteral("abc"));
    } else {
        QCOMPARE(program->fake.messages.texts(), QStringList{});
        QCOMPARE(box->text(), QStringLiteral("ab c"));
    }
    QVERIFY(hasFocus(box));
}

// Pasted text passes no key filter: its spaces stay. Of several lines only the first goes in.
void TestExitForm::pasteIntoEmail_data()
{
    QTest::addColumn<QString>("pasted");
    QTest::newRow("space kept") << QStringLiteral("a b@c.d");
    QTest::newRow("first line only") << QStringLiteral("a b@c.d\r\nx");
}

void TestExitForm::pasteIntoEmail()
{
    QFETCH(QString, pasted);
    QGuiApplication::clipboard()->setText(pasted);
    QLineEdit* box = field("txtEmail");
    enter(box);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("a b@c.d"));
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

// Shift+Ctrl+Right selects to the end of a word, as in GTK's fields.
void TestExitForm::wordMoves_data()
{
#ifdef Q_OS_WIN
    QSKIP("Windows keeps Qt's move to the start of the next word");
#endif
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<QString>("selected");
    QTest::newRow("between words") << QByteArray("txtName") << QStringLiteral("ann  lee") << 4
                                   << QStringLiteral(" lee");
    QTest::newRow("message, to the next line")
        << QByteArray("txtMessage") << QStringLiteral("a\nbc") << 1 << QStringLiteral("\u2029bc");
}

void TestExitForm::wordMoves()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, text);
    QFETCH(int, from);
    QWidget* box = w(field.constData());
    box->metaObject()->userProperty().write(box, text);
    QTest::keyClick(box, Qt::Key_Home);
    for (int i = 0; i < from; ++i)
        QTest::keyClick(box, Qt::Key_Right);
    QTest::keyClick(box, Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    QTEST(box->inputMethodQuery(Qt::ImCurrentSelection).toString(), "selected");
}

void TestExitForm::submissionCheck_data()
{
    QTest::addColumn<QStringList>("fields"); // name, e-mail, friend's name, friend's e-mail; empty: untouched
    QTest::addColumn<QString>("message");    // null: the message box untouched
    QTest::addColumn<QString>("expected");

    const QString proper = QStringLiteral("Please Enter Proper Email Address");
    const QString yourMessage = QStringLiteral("Please Enter Your Message");
    auto form = [](const char* name, const char* email, const char* friendName, const char* friendEmail) {
        return QStringList{QString::fromUtf8(name), QString::fromUtf8(email), QString::fromUtf8(friendName),
                           QString::fromUtf8(friendEmail)};
    };

    // The full table of checks is the core's; these rows wire the fields to it.
    QTest::newRow("untouched form") << QStringList{} << QString() << proper;
    QTest::newRow("message emptied and left")
        << form("Ann", "a@b.c", "Bob", "b@c.d") << QStringLiteral("Your Message") << yourMessage;
}

// The first fault found is reported, nothing opens, and the form and focus stay as they were.
void TestExitForm::submissionCheck()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    QFETCH(QString, expected);
    if (!fields.isEmpty())
        fill(fields[0], fields[1], fields[2], fields[3]);
    if (!message.isNull())
        txtMessage()->setPlainText(message);
    const QStringList before{field("txtName")->text(), field("txtEmail")->text(),
                             field("txtFriendName")->text(), field("txtFriendEmail")->text(),
                             txtMessage()->toPlainText()};

    QTest::mouseClick(w("cmdSubmit"), Qt::LeftButton);

    QCOMPARE(program->fake.messages.texts(), QStringList{expected});
    QCOMPARE(program->fake.messages.shown.first().kind, FakeMessages::Kind::Error);
    QCOMPARE(program->fake.browser.opened, QStringList{});
    const QStringList after{field("txtName")->text(), field("txtEmail")->text(),
                            field("txtFriendName")->text(), field("txtFriendEmail")->text(),
                            txtMessage()->toPlainText()};
    QCOMPARE(after, before);
    QVERIFY(hasFocus(w("cmdSubmit")));
    QVERIFY(screen->isVisible());
    QCOMPARE(program->fake.process.calls, 0);
}

void TestExitForm::submissionAddress_data()
{
    QTest::addColumn<QStringList>("fields"); // name, e-mail, friend's name, friend's e-mail
    QTest::addColumn<QString>("message");    // null: the message box untouched
    QTest::addColumn<QStringList>("values"); // taf1 to taf5 as the page must receive them

    const QString initialMessage = QStringLiteral("Your Message\r\n");
    QTest::newRow("untouched message")
        << QStringList{QStringLiteral(" Ann "), QStringLiteral("ann@x.org"), QStringLiteral("Bob"),
                       QStringLiteral(" bob@y.org ")}
        << QString()
        << QStringList{QStringLiteral("Ann"), QStringLiteral("ann@x.org"), initialMessage,
                       QStringLiteral("Bob"), QStringLiteral("bob@y.org")};
    QTest::newRow("characters outside the code page, kept as typed")
        << QStringList{QStringLiteral("Zo\u00eb \u674e"), QStringLiteral("z@x.org"),
                       QStringLiteral("\u0410\u043d\u044f"), QStringLiteral("a@y.org")}
        << QStringLiteral("\u2764\u00a0\u2028")
        << QStringList{QStringLiteral("Zo\u00eb \u674e"), QStringLiteral("z@x.org"),
                       QStringLiteral("\u2764\u00a0\u2028"), QStringLiteral("\u0410\u043d\u044f"),
                       QStringLiteral("a@y.org")};
}

// One address in the fixed layout, whose values parse back exactly; a second press sends it again.
void TestExitForm::submissionAddress()
{
    QFETCH(QStringList, fields);
    QFETCH(QString, message);
    QFETCH(QStringList, values);
    fill(fields[0], fields[1], fields[2], fields[3]);
    if (!message.isNull())
        txtMessage()->setPlainText(message);

    QTest::mouseClick(w("cmdSubmit"), Qt::LeftButton);
    QTest::mouseClick(w("cmdSubmit"), Qt::LeftButton);

    QCOMPARE(program->fake.messages.texts(), QStringList{});
    const QStringList& opened = program->fake.browser.opened;
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[1], opened[0]);
    const QString url = opened[0];
    QVERIFY2(url.startsWith(PageBase + QStringLiteral("ssd.php?page=qzkl-refer-a-friend&taf1=")),
             qPrintable(url));
    // One address: nothing the browser would cut or take apart.
    for (QChar c : url)
        QVERIFY2(c.unicode() > 32 && c.unicode() < 127 && c != u'#', qPrintable(url));

    const QList<QPair<QString, QString>> query = queryOf(url);
    const QStringList keys{QStringLiteral("page"), QStringLiteral("taf1"), QStringLiteral("taf2"),
                           QStringLiteral("taf3"), QStringLiteral("taf4"), QStringLiteral("taf5"),
                           QStringLiteral("taf6")};
    QCOMPARE(query.size(), keys.size());
    for (int i = 0; i < keys.size(); ++i)
        QCOMPARE(query[i].first, keys[i]);
    QStringList received;
    for (int i = 1; i <= 5; ++i)
        received << query[i].second;
    QCOMPARE(received, values);
    QCOMPARE(query[6].second, PageBase);
}

QTEST_MAIN(TestExitForm)
#include "TestExitForm.moc"
