// The refer-a-friend form of the exit screen: hints that clear and come back with the focus, e-mail
// fields without typed spaces, and the checks and address of a submission.

#include "ProgramFixture.h"
#include "SiteConfig.h"
#include "TestSupport.h"

#include "exitscreen/frmExitScreen.h"
#include "reading/frmMain.h"

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
    void tabOrder();
    void typedSpaceInEmail_data();
    void typedSpaceInEmail();
    void pastedSpaceInEmailIsKept();

    void submissionCheck_data();
    void submissionCheck();
    void submissionAddress_data();
    void submissionAddress();

private:
    QLineEdit* field(const char* name) const { return ProgramFixture::child<QLineEdit>(screen, name); }
    QWidget* w(const char* name) const { return ProgramFixture::child(screen, name); }
    // Gives the field the focus the way the user does: a click, or Tab for the unseen message box.
    void enter(QWidget* control);
    void leave(QWidget* control) { QTest::keyClick(control, Qt::Key_Tab); }
    void fill(const QString& name, const QString& email, const QString& friendName,
              const QString& friendEmail);

    TemporarySettingsFolder settingsFolder;
    std::unique_ptr<ProgramFixture> program;
    frmExitScreen* screen = nullptr;
};

void TestExitForm::init()
{
    program = std::make_unique<ProgramFixture>();
    program->start();
    QVERIFY(program->forms->main().close());
    screen = &program->forms->exitScreen();
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

void TestExitForm::hintOnFocus_data()
{
    QTest::addColumn<QByteArray>("field");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("afterEntry");
    QTest::addColumn<QString>("afterLeaving");

    QTest::newRow("name hint") << QByteArray("txtName") << QStringLiteral("Your Name") << QString()
                               << QStringLiteral("Your Name");
    QTest::newRow("name hint within spaces") << QByteArray("txtName") << QStringLiteral("  Your Name ")
                                             << QString() << QStringLiteral("Your Name");
    QTest::newRow("name in other case") << QByteArray("txtName") << QStringLiteral("your name")
                                        << QStringLiteral("your name") << QStringLiteral("your name");
    QTest::newRow("name of spaces") << QByteArray("txtName") << QStringLiteral("   ") << QStringLiteral("   ")
                                    << QStringLiteral("Your Name");
    QTest::newRow("name kept untrimmed") << QByteArray("txtName") << QStringLiteral(" Ann ")
                                         << QStringLiteral(" Ann ") << QStringLiteral(" Ann ");
    QTest::newRow("email hint") << QByteArray("txtEmail") << QStringLiteral("Your Email Address") << QString()
                                << QStringLiteral("Your Email Address");
    QTest::newRow("friend's name typed as the hint")
        << QByteArray("txtFriendName") << QStringLiteral("Friend's Name") << QString()
        << QStringLiteral("Friend's Name");
    QTest::newRow("friend's email hint")
        << QByteArray("txtFriendEmail") << QStringLiteral("Friend's Email Address") << QString()
        << QStringLiteral("Friend's Email Address");
    QTest::newRow("friend's email, another field's hint")
        << QByteArray("txtFriendEmail") << QStringLiteral("Your Email Address")
        << QStringLiteral("Your Email Address") << QStringLiteral("Your Email Address");
}

void TestExitForm::hintOnFocus()
{
    QFETCH(QByteArray, field);
    QFETCH(QString, before);
    QLineEdit* box = this->field(field.constData());
    box->setText(before);

    enter(box);
    QTEST(box->text(), "afterEntry");
    leave(box);
    QVERIFY(!hasFocus(box));
    QTEST(box->text(), "afterLeaving");
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

// The message starts with a line break after its hint, so the first visit keeps it; once emptied and
// left it shows the bare hint and behaves like the other fields.
void TestExitForm::messageHintComesBackWithoutLineBreak()
{
    auto* message = ProgramFixture::child<QPlainTextEdit>(screen, "txtMessage");
    QCOMPARE(screen->messageText(), QStringLiteral("Your Message\r\n"));

    enter(message);
    QCOMPARE(screen->messageText(), QStringLiteral("Your Message\r\n"));
    message->selectAll();
    QTest::keyClick(message, Qt::Key_Backspace);
    QCOMPARE(screen->messageText(), QString());
    leave(message);
    QCOMPARE(screen->messageText(), QStringLiteral("Your Message"));

    enter(message);
    QCOMPARE(screen->messageText(), QString());
    QTest::keyClicks(message, QStringLiteral("Hi"));
    QTest::keyClick(message, Qt::Key_Return);
    QTest::keyClicks(message, QStringLiteral("there"));
    leave(message);
    QCOMPARE(screen->messageText(), QStringLiteral("Hi\r\nthere"));
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

void TestExitForm::pastedSpaceInEmailIsKept()
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(QStringLiteral("a b@c.d"));
    if (clipboard->text() != QLatin1String("a b@c.d"))
        QSKIP("no clipboard on this platform");
    QLineEdit* box = field("txtEmail");
    enter(box);
    QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(box->text(), QStringLiteral("a b@c.d"));
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

void TestExitForm::submissionCheck_data()
{
    QTest::addColumn<QStringList>("fields"); // name, e-mail, friend's name, friend's e-mail; empty: untouched
    QTest::addColumn<QString>("message");    // null: the message box untouched
    QTest::addColumn<QString>("expected");   // "" when the page opens

    const QString proper = QStringLiteral("Please Enter Proper Email Address");
    const QString distinct = QStringLiteral("Please Enter Distinct Email Addresses");
    const QString yourName = QStringLiteral("Please Enter Your Name");
    const QString yourMessage = QStringLiteral("Please Enter Your Message");
    const QString friendsName = QStringLiteral("Please Enter Your Friend's Name");
    auto form = [](const char* name, const char* email, const char* friendName, const char* friendEmail) {
        return QStringList{QString::fromUtf8(name), QString::fromUtf8(email), QString::fromUtf8(friendName),
                           QString::fromUtf8(friendEmail)};
    };

    QTest::newRow("untouched form") << QStringList{} << QString() << proper;
    QTest::newRow("same address") << form("Ann", "a@b.c", "Bob", "a@b.c") << QString() << distinct;
    QTest::newRow("same address after trimming")
        << form("Your Name", " a@b.c", "Friend's Name", "a@b.c  ") << QString() << distinct;
    QTest::newRow("both empty") << form("Ann", "", "Bob", "") << QString() << distinct;
    QTest::newRow("no at sign") << form("Ann", "ab.c", "Bob", "b@c.d") << QString() << proper;
    QTest::newRow("friend's without at sign") << form("Ann", "a@b.c", "Bob", "bc.d") << QString() << proper;
    QTest::newRow("no dot") << form("Ann", "a@b", "Bob", "b@c.d") << QString() << proper;
    QTest::newRow("e-mail checked before name")
        << form("Your Name", "a@b", "Bob", "b@c.d") << QString() << proper;
    QTest::newRow("addresses differing in case")
        << form("Ann", "Ann@b.c", "Bob", "ann@b.c") << QString() << QString();
    QTest::newRow("at then dot only") << form("Ann", "a@.", "Bob", "b@c.d") << QString() << QString();
    QTest::newRow("dot before at") << form("Ann", "a.b@c", "Bob", "b@c.d") << QString() << QString();
    QTest::newRow("name hint") << form("Your Name", "a@b.c", "Bob", "b@c.d") << QString() << yourName;
    QTest::newRow("name of spaces") << form("   ", "a@b.c", "Bob", "b@c.d") << QString() << yourName;
    QTest::newRow("name in other case")
        << form("your name", "a@b.c", "Bob", "b@c.d") << QString() << QString();
    QTest::newRow("name checked before message")
        << form("Your Name", "a@b.c", "Bob", "b@c.d") << QStringLiteral("Your Message") << yourName;
    QTest::newRow("message emptied and left")
        << form("Ann", "a@b.c", "Bob", "b@c.d") << QStringLiteral("Your Message") << yourMessage;
    QTest::newRow("message of spaces")
        << form("Ann", "a@b.c", "Bob", "b@c.d") << QStringLiteral("  ") << yourMessage;
    QTest::newRow("message of no-break spaces")
        << form("Ann", "a@b.c", "Bob", "b@c.d") << QStringLiteral("\u00a0\u00a0") << QString();
    QTest::newRow("message checked before friend's name")
        << form("Ann", "a@b.c", "Friend's Name", "b@c.d") << QStringLiteral("Your Message") << yourMessage;
    QTest::newRow("friend's name hint")
        << form("Ann", "a@b.c", "Friend's Name", "b@c.d") << QString() << friendsName;
    QTest::newRow("friend's name empty") << form("Ann", "a@b.c", "", "b@c.d") << QString() << friendsName;
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
        screen->setMessageText(message);
    const QStringList before{field("txtName")->text(), field("txtEmail")->text(),
                             field("txtFriendName")->text(), field("txtFriendEmail")->text(),
                             screen->messageText()};

    QTest::mouseClick(w("cmdSubmit"), Qt::LeftButton);

    if (expected.isEmpty()) {
        QCOMPARE(program->fake.messages.texts(), QStringList{});
        QCOMPARE(program->fake.browser.opened.size(), 1);
    } else {
        QCOMPARE(program->fake.messages.texts(), QStringList{expected});
        QCOMPARE(program->fake.messages.shown.first().kind, FakeMessages::Kind::Error);
        QCOMPARE(program->fake.browser.opened, QStringList{});
    }
    const QStringList after{field("txtName")->text(), field("txtEmail")->text(),
                            field("txtFriendName")->text(), field("txtFriendEmail")->text(),
                            screen->messageText()};
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
    QTest::newRow("characters that split a query")
        << QStringList{QStringLiteral("Tom & Jerry"), QStringLiteral("t+j@x.org"),
                       QStringLiteral("A=B #1 50%"), QStringLiteral("b@y.org?x")}
        << QStringLiteral("  Line one\nline two & more?  ")
        << QStringList{QStringLiteral("Tom & Jerry"), QStringLiteral("t+j@x.org"),
                       QStringLiteral("Line one\r\nline two & more?"), QStringLiteral("A=B #1 50%"),
                       QStringLiteral("b@y.org?x")};
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
        screen->setMessageText(message);

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
