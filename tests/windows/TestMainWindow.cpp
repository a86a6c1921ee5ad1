// The main window driven through real key and mouse events: the name filter, the reading, the pages
// and the links to the maker's site.

#include "ProgramFixture.h"
#include "SiteConfig.h"
#include "TestSupport.h"

#include "common/AppInfo.h"

#include <QClipboard>
#include <QDropEvent>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMenuBar>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <iterator>

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void nameKeys_data();
    void nameKeys();
    void composedText_data();
    void composedText();
    void multiLinePaste_data();
    void multiLinePaste();

    void reading_data();
    void reading();
    void missingName_data();
    void missingName();
    void backClearsNames();
    void longestNamesStayWithinTheLimit();

    void controlOpensItsPage_data();
    void controlOpensItsPage();
    void exitOpensNoPage();
    void aboutClosesByKey_data();
    void aboutClosesByKey();

    void tabOrder();

private:
    QWidget* w(const char* name) const { return ProgramFixture::child(main, name); }
    QLineEdit* box(const char* name) const { return ProgramFixture::child<QLineEdit>(main, name); }
    void activate(const QString& control);

    TemporarySettingsFolder settingsFolder;
    std::unique_ptr<ProgramFixture> program;
    QWidget* main = nullptr;
};

void TestMainWindow::init()
{
    program = std::make_unique<ProgramFixture>();
    program->start();
    main = ProgramFixture::topLevel("frmMain");
    QVERIFY(main->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(main));
    program->fake.messages.clear();
}

void TestMainWindow::cleanup()
{
    main = nullptr;
    program.reset();
}

// What a key does to a name box holding "Ab" with the cursor after the A: a letter or a space goes in,
// but with Alt or the Windows key a letter types nothing; any other character is refused with one message,
// the box unchanged and the focus kept; keys that type nothing reach Qt's field.
void TestMainWindow::nameKeys_data()
{
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("holds");
    QTest::addColumn<bool>("refused");

    const int ctrl = Qt::ControlModifier;
    const int alt = Qt::AltModifier;
    const struct
    {
        const char* row;
        int key;
        int modifiers;
        const char16_t* text;
        const char16_t* holds; // nullptr: refused
    } keys[] = {
        {"capital", Qt::Key_Q, 0, u"Q", u"AQb"},
        {"small letter", Qt::Key_Z, 0, u"z", u"Azb"},
        {"space", Qt::Key_Space, 0, u" ", u"A b"},
        {"Ctrl+Space", Qt::Key_Space, ctrl, u" ", u"A b"},
        {"Ctrl+Space without text", Qt::Key_Space, ctrl, u"", u"A b"},
        {"Backspace", Qt::Key_Backspace, 0, u"\b", u"b"},
        {"Ctrl+H", Qt::Key_H, ctrl, u"\b", u"b"},
        {"Ctrl+H, text h", Qt::Key_H, ctrl, u"h", u"b"},
        {"Alt+letter", Qt::Key_X, alt, u"x", u"Ab"},
        {"Alt+Shift+letter", Qt::Key_K, alt | Qt::ShiftModifier, u"K", u"Ab"},
        {"Windows key+letter", Qt::Key_A, Qt::MetaModifier, u"a", u"Ab"},
        {"arrow", Qt::Key_Left, 0, u"", u"Ab"},
        {"Delete", Qt::Key_Delete, 0, u"\x7f", u"A"},
        {"Delete's text under another key", Qt::Key_unknown, 0, u"\x7f", u"Ab"},
        {"digit", Qt::Key_7, 0, u"7", nullptr},
        {"Alt+7", Qt::Key_7, alt, u"7", nullptr},
        {"Alt+period", Qt::Key_Period, alt, u".", nullptr},
        {"Alt+Shift+7", Qt::Key_Ampersand, alt | Qt::ShiftModifier, u"&", nullptr},
        // AltGr arrives as Ctrl+Alt on Windows.
        {"Ctrl+Alt at sign", Qt::Key_Q, ctrl | alt, u"@", nullptr},
        {"Enter", Qt::Key_Return, 0, u"\r", nullptr},
        {"keypad Enter", Qt::Key_Enter, Qt::KeypadModifier, u"\r", nullptr},
        {"Escape", Qt::Key_Escape, 0, u"\x1b", nullptr},
        {"hyphen", Qt::Key_Minus, 0, u"-", nullptr},
        {"accented letter", Qt::Key_Eacute, 0, u"\u00e9", nullptr},
        {"Ctrl+A", Qt::Key_A, ctrl, u"\x01", nullptr},
        {"Ctrl+V without text", Qt::Key_V, ctrl, u"", nullptr},
        {"Ctrl+[", Qt::Key_BracketLeft, ctrl, u"\x1b", nullptr},
        {"Ctrl+Backspace", Qt::Key_Backspace, ctrl, u"\b", nullptr},
    };
    for (const auto& k : keys) {
        QTest::newRow(k.row) << QByteArrayLiteral("txtNameM") << k.key << k.modifiers
                             << QString::fromUtf16(k.text) << QString::fromUtf16(k.holds ? k.holds : u"Ab")
                             << !k.holds;
    }
    QTest::newRow("txtNameF digit") << QByteArrayLiteral("txtNameF") << int(Qt::Key_7) << 0
                                    << QStringLiteral("7") << QStringLiteral("Ab") << true;
    QTest::newRow("txtNameF Ctrl+Space") << QByteArrayLiteral("txtNameF") << int(Qt::Key_Space) << ctrl
                                         << QStringLiteral(" ") << QStringLiteral("A b") << false;
}

void TestMainWindow::nameKeys()
{
    QFETCH(QByteArray, box);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(bool, refused);

    typeNames(main, QStringLiteral("Ab"), QStringLiteral("Ab"));
    QLineEdit* target = this->box(box.constData());
    target->setFocus();
    target->setCursorPosition(1);
    bool focusedWhileShown = false;
    program->fake.messages.onShow = [&](const FakeMessages::Shown&) { focusedWhileShown = hasFocus(target); };

    QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));

    QTEST(target->text(), "holds");
    QVERIFY(hasFocus(target));
    if (refused) {
        QCOMPARE(program->fake.messages.texts(), QStringList{QStringLiteral("Please Enter Character Only")});
        QCOMPARE(program->fake.messages.shown.first().kind, FakeMessages::Kind::Error);
        QVERIFY(focusedWhileShown);
        QCOMPARE(target->cursorPosition(), 1);
    } else {
        QCOMPARE(program->fake.messages.texts(), QStringList{});
    }
    // Enter in particular does not start the reading.
    QVERIFY(!resultPageInFront(main));
}

// Characters made with a dead key or an input method pass the same filter as typed ones.
void TestMainWindow::composedText_data()
{
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("accented letter") << QStringLiteral("\u00e9") << QStringLiteral("Ab")
                                     << QStringList{QStringLiteral("Please Enter Character Only")};
    QTest::newRow("letter then digit") << QStringLiteral("x1") << QStringLiteral("Ab")
                                       << QStringList{QStringLiteral("Please Enter Character Only")};
    QTest::newRow("plain letters") << QStringLiteral("cd") << QStringLiteral("Abcd") << QStringList{};
}

void TestMainWindow::composedText()
{
    QFETCH(QString, commit);
    QLineEdit* target = box("txtNameM");
    QTest::keyClicks(target, QStringLiteral("Ab"));
    QInputMethodEvent event;
    event.setCommitString(commit);
    QApplication::sendEvent(target, &event);
    QTEST(target->text(), "expected");
    QTEST(program->fake.messages.texts(), "messages");
}

// A name box keeps the first line of a multi-line paste or drop, tab included; pasted text passes no key
// filter.
void TestMainWindow::multiLinePaste_data()
{
    QTest::addColumn<bool>("drop");
    QTest::newRow("Shift+Insert") << false;
    QTest::newRow("drop") << true;
}

void TestMainWindow::multiLinePaste()
{
    QFETCH(bool, drop);
    const QString pasted = QStringLiteral("a\tb\nc");
    QLineEdit* target = box("txtNameF");
    QTest::keyClicks(target, QStringLiteral("Ann"));
    target->setCursorPosition(1);
    if (drop) {
        QMimeData data;
        data.setText(pasted);
        const QPoint at = target->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent event(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    } else {
        QGuiApplication::clipboard()->setText(pasted);
        QTest::keyClick(target, Qt::Key_Insert, Qt::ShiftModifier);
    }
    QCOMPARE(target->text(), QStringLiteral("Aa\tbnn"));
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

void TestMainWindow::reading_data()
{
    QTest::addColumn<QString>("yours");
    QTest::addColumn<QString>("partners");
    QTest::addColumn<QString>("line0");
    QTest::addColumn<QString>("line1");
    QTest::addColumn<QString>("line2");

    const QString level8 = QStringLiteral("Your Level of Compatibility: 8");
    QTest::newRow("capitals") << QStringLiteral("JOHN") << QStringLiteral("MARY")
                              << QStringLiteral("Your Name: JOHN")
                              << QStringLiteral("Your Partner's Name: MARY") << level8;
    QTest::newRow("lower case") << QStringLiteral("john") << QStringLiteral("mary")
                                << QStringLiteral("Your Name: JOHN")
                                << QStringLiteral("Your Partner's Name: MARY") << level8;
    QTest::newRow("inner and outer spaces")
        << QStringLiteral(" mary ann ") << QStringLiteral("john") << QStringLiteral("Your Name: MARY ANN")
        << QStringLiteral("Your Partner's Name: JOHN") << QStringLiteral("Your Level of Compatibility: 7");
}

void TestMainWindow::reading()
{
    QFETCH(QString, yours);
    QFETCH(QString, partners);

    typeNames(main, yours, partners);
    QTest::mouseClick(w("cmdNext"), Qt::LeftButton);

    QCOMPARE(program->fake.messages.texts(), QStringList{});
    QTEST(resultCaption(main, 0), "line0");
    QTEST(resultCaption(main, 1), "line1");
    QTEST(resultCaption(main, 2), "line2");
    QVERIFY(resultPageInFront(main));
    // The boxes keep the names as typed.
    QCOMPARE(box("txtNameM")->text(), yours);
    QCOMPARE(box("txtNameF")->text(), partners);
}

void TestMainWindow::missingName_data()
{
    QTest::addColumn<QString>("yours");
    QTest::addColumn<QString>("partners");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QByteArray>("focus");

    const QString yourName = QStringLiteral("Please Enter Your Name");
    const QString partnersName = QStringLiteral("Please Enter Your Partner's Name");
    QTest::newRow("both empty") << QString() << QString() << yourName << QByteArray("txtNameM");
    QTest::newRow("partner's empty") << QStringLiteral("JOHN") << QString() << partnersName
                                     << QByteArray("txtNameF");
    QTest::newRow("partner's only spaces")
        << QStringLiteral("JOHN") << QStringLiteral(" ") << partnersName << QByteArray("txtNameF");
}

// One message, the focus on the box at fault, and the names page still in front.
void TestMainWindow::missingName()
{
    QFETCH(QString, yours);
    QFETCH(QString, partners);
    QFETCH(QString, message);
    QFETCH(QByteArray, focus);

    typeNames(main, yours, partners);
    // The click puts the focus on the button; the message must move it to the box at fault.
    QTest::mouseClick(w("cmdNext"), Qt::LeftButton);

    QCOMPARE(program->fake.messages.texts(), QStringList{message});
    QCOMPARE(program->fake.messages.shown.first().kind, FakeMessages::Kind::Error);
    QVERIFY(hasFocus(box(focus.constData())));
    QVERIFY(!resultPageInFront(main));
    QCOMPARE(resultCaption(main, 0), QStringLiteral("compatibility"));
}

void TestMainWindow::backClearsNames()
{
    typeNames(main, QStringLiteral("JOHN"), QStringLiteral("MARY"));
    QTest::mouseClick(w("cmdNext"), Qt::LeftButton);
    QVERIFY(resultPageInFront(main));

    QTest::mouseClick(w("cmdBack"), Qt::LeftButton);

    QCOMPARE(box("txtNameM")->text(), QString());
    QCOMPARE(box("txtNameF")->text(), QString());
    QVERIFY(hasFocus(box("txtNameM")));
    QVERIFY(!resultPageInFront(main));
    QCOMPARE(resultCaption(main, 0), QStringLiteral("Your Name: JOHN"));
    QCOMPARE(resultCaption(main, 2), QStringLiteral("Your Level of Compatibility: 8"));
}

// Two names of the longest length the boxes take, and the space between them, fit the 16-bit positions
// of the reading; longer text is cut at the box's limit and the reading still completes.
void TestMainWindow::longestNamesStayWithinTheLimit()
{
    QLineEdit* m = box("txtNameM");
    QLineEdit* f = box("txtNameF");
    QCOMPARE(m->maxLength(), AppInfo::MaxNameLength);
    QCOMPARE(f->maxLength(), AppInfo::MaxNameLength);

    m->setText(QLatin1Char('A') + QString(40000, u'B'));
    f->setText(QString(40000, u'C'));
    QTest::keyClicks(f, QStringLiteral("D"));
    QCOMPARE(f->text(), QString(AppInfo::MaxNameLength, u'C'));

    // A once, B an odd number of times (the limit is even), C an even number: marks 1 1 0, level 2.
    QTest::mouseClick(w("cmdNext"), Qt::LeftButton);
    QVERIFY(resultPageInFront(main));
    QCOMPARE(resultCaption(main, 2), QStringLiteral("Your Level of Compatibility: 2"));
}

// "frmAbout/x" is a control of the About window, "frmExitScreen/x" one of the exit screen; anything
// else is a menu entry or label of the main window.
void TestMainWindow::activate(const QString& control)
{
    const QString window = control.section(u'/', 0, 0);
    const QByteArray name = control.section(u'/', -1).toLatin1();
    if (window == QLatin1String("frmAbout")) {
        bool acted = false;
        QTimer::singleShot(0, this, [&] {
            QWidget* about = QApplication::activeModalWidget();
            if (about && about->objectName() == QLatin1String("frmAbout")) {
                QTest::mouseClick(ProgramFixture::child(about, name.constData()), Qt::LeftButton);
                acted = true;
                QTest::keyClick(about, Qt::Key_Escape);
            }
        });
        main->findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();
        QVERIFY(acted);
        return;
    }
    if (window == QLatin1String("frmExitScreen")) {
        QVERIFY(main->close());
        QWidget* screen = ProgramFixture::topLevel("frmExitScreen");
        QTest::mouseClick(ProgramFixture::child(screen, name.constData()), Qt::LeftButton);
        return;
    }
    if (auto* action = main->findChild<QAction*>(QLatin1String(name))) {
        action->trigger();
        return;
    }
    QTest::mouseClick(w(name.constData()), Qt::LeftButton);
}

void TestMainWindow::controlOpensItsPage_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("url");

    const QString home = page("home-page");
    const QString fullyBranded = page("fully-branded");
    // Four controls lead to the home page and three to the fully-branded offer: each with the same address.
    QTest::newRow("mnuVisit") << QStringLiteral("mnuVisit") << home;
    QTest::newRow("Label61") << QStringLiteral("Label61") << home;
    QTest::newRow("About lblHomePage") << QStringLiteral("frmAbout/lblHomePage") << home;
    QTest::newRow("exit screen Check1") << QStringLiteral("frmExitScreen/Check1") << home;
    QTest::newRow("lblFullBrand") << QStringLiteral("lblFullBrand") << fullyBranded;
    QTest::newRow("mnuMakeMoney") << QStringLiteral("mnuMakeMoney") << fullyBranded;
    QTest::newRow("About lblCoBrand") << QStringLiteral("frmAbout/lblCoBrand") << fullyBranded;
    QTest::newRow("lblCobrand") << QStringLiteral("lblCobrand") << page("co-brand");
    QTest::newRow("mnuOnline") << QStringLiteral("mnuOnline") << page("help-web-page");
    QTest::newRow("mnuUpdate") << QStringLiteral("mnuUpdate") << page("download-web-page");
    QTest::newRow("mnuDonate") << QStringLiteral("mnuDonate") << page("donate");
    QTest::newRow("exit screen lblGoToHome")
        << QStringLiteral("frmExitScreen/lblGoToHome") << page("kelpansoftwares");
}

// Each use opens the page again, with exactly the same address.
void TestMainWindow::controlOpensItsPage()
{
    QFETCH(QString, control);
    QFETCH(QString, url);

    activate(control);
    activate(control);

    QCOMPARE(program->fake.browser.opened, (QStringList{url, url}));
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

void TestMainWindow::exitOpensNoPage()
{
    main->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    ProgramFixture::flushDeletes();

    QCOMPARE(program->fake.browser.opened, QStringList{});
    QCOMPARE(ProgramFixture::topLevel("frmMain"), nullptr);
    QVERIFY(ProgramFixture::shown("frmExitScreen"));
    QCOMPARE(program->fake.process.calls, 0);
}

void TestMainWindow::aboutClosesByKey_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("Enter") << int(Qt::Key_Return);
    QTest::newRow("Esc") << int(Qt::Key_Escape);
}

void TestMainWindow::aboutClosesByKey()
{
    QFETCH(int, key);
    QString title;
    QTimer::singleShot(0, this, [&] {
        if (QWidget* about = QApplication::activeModalWidget()) {
            title = about->windowTitle();
            QTest::keyClick(about, Qt::Key(key));
        }
    });
    // Returns only once the About window is closed.
    main->findChild<QAction*>(QStringLiteral("mnuAbout"))->trigger();

    QCOMPARE(title, QStringLiteral("QZ Name Compatibility v1.15"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    ProgramFixture::flushDeletes();
    QCOMPARE(ProgramFixture::topLevel("frmAbout"), nullptr);
    QCOMPARE(program->fake.browser.opened, QStringList{});
}

void TestMainWindow::tabOrder()
{
    const char* order[] = {"txtNameM", "txtNameF", "cmdNext", "cboMonth", "cboDate", "cboYear", "cmdOpen"};
    QVERIFY(hasFocus(w(order[0])));
    for (std::size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY2(hasFocus(w(order[i])), order[i]);
    }
    QCOMPARE(program->fake.messages.texts(), QStringList{});
}

QTEST_MAIN(TestMainWindow)
#include "TestMainWindow.moc"
