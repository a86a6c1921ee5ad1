// Start-up, the update reminder over the real settings store, the promotional draw, the close sequence,
// the exit screen and program end.

#include "ProgramFixture.h"
#include "SiteConfig.h"
#include "TestSupport.h"

#include "reading/ShiftCodec.h"
#include "web/PromoTexts.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString DurationKey = QStringLiteral("Duration");

// The user's short date format here (en_US), with the four-digit year the program writes.
QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("M/d/yyyy"));
}

// "Duration" shifted up by 85 in Windows-1252: bytes 153, 202, 199, 182, 201, 190, 196, 195.
QString encodedDurationKey()
{
    return QString(QChar(0x2122)) + QChar(0xCA) + QChar(0xC7) + QChar(0xB6) + QChar(0xC9) + QChar(0xBE) +
           QChar(0xC4) + QChar(0xC3);
}

QStringList rawKeys(const QString& app)
{
    QSettings raw(QSettings::IniFormat, QSettings::UserScope, app, app);
    raw.beginGroup(QStringLiteral("Settings"));
    return raw.childKeys();
}

// Some cases handle the INI file itself; on Windows the store is the registry, whose encoded key and
// value the program's scenario under Wine reads back.
constexpr bool StoreIsIniFile =
#ifdef Q_OS_WIN
    false;
#else
    true;
#endif

const QString Question =
    QStringLiteral("There maybe an update to this software available\rDo you want to check for an update?");

} // namespace

class TestStartupAndExit : public QObject
{
    Q_OBJECT

private slots:
    void secondCopyEndsAtOnce();
    void normalStart();

    void reminder_data();
    void reminder();
    void storedKeyAndValueAreEncoded();
    void otherApplicationNameSeesNothing();
    void unwritableStoreDoesNotStopStartup();
    void failedWriteStillOpensTheDownloadPage();

    void coBrandDraw_data();
    void coBrandDraw();

    void closingMainShowsExitScreen_data();
    void closingMainShowsExitScreen();
    void exitCaption_data();
    void exitCaption();
    void check1ActsAsButton();
    void endProgram_data();
    void endProgram();

private:
    TemporarySettingsFolder settingsFolder;
};

void TestStartupAndExit::secondCopyEndsAtOnce()
{
    ProgramFixture program;
    ShowRecorder recorder;
    program.fake.instance.onlyCopy = false;
    int endsBeforeMessage = -1;
    program.fake.messages.onShow = [&](const FakeMessages::Shown&) {
        endsBeforeMessage = program.fake.process.calls;
    };

    program.start();

    QCOMPARE(program.fake.messages.texts(), QStringList{QStringLiteral("Application is already running")});
    QCOMPARE(program.fake.messages.shown.first().kind, FakeMessages::Kind::Information);
    QCOMPARE(endsBeforeMessage, 0);
    QVERIFY(program.fake.process.calls >= 1);
    QCOMPARE(ProgramFixture::topLevel("frmMain"), nullptr);
    QCOMPARE(ProgramFixture::topLevel("frmExitScreen"), nullptr);
    QCOMPARE(recorder.shows(QStringLiteral("frmStartup")), 0);
    QVERIFY(!QFile::exists(settingsFile(program.fake.appName)));
    QCOMPARE(program.fake.browser.opened, QStringList{});
}

void TestStartupAndExit::normalStart()
{
    ProgramFixture program;
    ShowRecorder recorder;
    program.start();

    QCOMPARE(program.fake.messages.texts(), QStringList{});
    QCOMPARE(program.fake.instance.claims, 1);
    QVERIFY(ProgramFixture::shown("frmMain"));
    QCOMPARE(recorder.shows(QStringLiteral("frmStartup")), 0);
    QCOMPARE(program.fake.process.calls, 0);
    // The draw comes from a generator seeded before it.
    QVERIFY(program.fake.random.seeds >= 1);
    QCOMPARE(program.fake.random.draws, 1);
}

void TestStartupAndExit::reminder_data()
{
    QTest::addColumn<QString>("stored"); // "" for nothing stored
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<bool>("asks");
    QTest::addColumn<QString>("storedAfter");
    QTest::addColumn<bool>("opensDownload");

    // One row per way through the reminder; the days on each side of the limit are the rule's own table.
    const QDate today(2024, 3, 10);
    const QString t = dateText(today);
    auto at = [&](int days) { return dateText(today.addDays(days)); };
    QTest::newRow("first start") << QString() << false << false << t << false;
    QTest::newRow("quiet") << at(-3) << true << false << at(-3) << false;
    QTest::newRow("due, No") << at(-30) << false << true << t << false;
    QTest::newRow("due, Yes") << at(-30) << true << true << t << true;
    QTest::newRow("not a date") << QStringLiteral("soon") << true << false << QStringLiteral("soon") << false;
}

void TestStartupAndExit::reminder()
{
    QFETCH(QString, stored);
    QFETCH(bool, answerYes);
    QFETCH(bool, asks);
    QFETCH(QString, storedAfter);
    QFETCH(bool, opensDownload);

    ProgramFixture program;
    program.fake.clock.date = QDate(2024, 3, 10);
    program.fake.messages.answerYes = answerYes;
    if (!stored.isEmpty())
        QVERIFY(program.fake.settings.WriteSetting(DurationKey, stored));
    bool mainExistedWhenAsked = true;
    bool mainExistedWhenOpened = true;
    program.fake.messages.onShow = [&](const FakeMessages::Shown&) {
        mainExistedWhenAsked = ProgramFixture::topLevel("frmMain") != nullptr;
    };
    program.fake.browser.onOpen = [&](const QString&) {
        mainExistedWhenOpened = ProgramFixture::topLevel("frmMain") != nullptr;
    };

    program.start();

    if (asks) {
        QCOMPARE(program.fake.messages.texts(), QStringList{Question});
        QCOMPARE(program.fake.messages.shown.first().kind, FakeMessages::Kind::Question);
        QVERIFY(!mainExistedWhenAsked);
    } else {
        QCOMPARE(program.fake.messages.texts(), QStringList{});
    }
    QCOMPARE(program.fake.settings.ReadSetting(DurationKey), std::optional<QString>(storedAfter));
    if (opensDownload) {
        QCOMPARE(program.fake.browser.opened, QStringList{page("download-web-page")});
        QVERIFY(!mainExistedWhenOpened);
    } else {
        QCOMPARE(program.fake.browser.opened, QStringList{});
    }
    // Whatever the reminder did, the program goes on to its main window.
    QVERIFY(ProgramFixture::shown("frmMain"));
}

// The one entry in the store is neither named "Duration" nor holds a readable date.
void TestStartupAndExit::storedKeyAndValueAreEncoded()
{
    if (!StoreIsIniFile)
        QSKIP("the settings store is the registry");
    ProgramFixture program;
    program.start();

    const QStringList keys = rawKeys(program.fake.appName);
    QCOMPARE(keys, QStringList{encodedDurationKey()});
    QSettings raw(QSettings::IniFormat, QSettings::UserScope, program.fake.appName, program.fake.appName);
    const QString value = raw.value(QStringLiteral("Settings/") + encodedDurationKey()).toString();
    QVERIFY(!value.isEmpty());
    QVERIFY(!value.contains(u'/'));
    QVERIFY(!QDate::fromString(value, QStringLiteral("M/d/yyyy")).isValid());
    QCOMPARE(program.fake.settings.ReadSetting(DurationKey),
             std::optional<QString>(dateText(program.fake.clock.date)));
}

void TestStartupAndExit::otherApplicationNameSeesNothing()
{
    FakeServices old;
    QVERIFY(old.settings.WriteSetting(DurationKey, dateText(QDate(2024, 1, 1))));

    ProgramFixture renamed;
    QCOMPARE(renamed.fake.settings.ReadSetting(DurationKey), std::optional<QString>(QString()));
    renamed.start();
    // A first start: nothing asked, today stored under the new name only.
    QCOMPARE(renamed.fake.messages.texts(), QStringList{});
    QCOMPARE(old.settings.ReadSetting(DurationKey), std::optional<QString>(dateText(QDate(2024, 1, 1))));
}

void TestStartupAndExit::unwritableStoreDoesNotStopStartup()
{
    if (!StoreIsIniFile)
        QSKIP("the settings store is the registry");
    ProgramFixture program;
    // A file where the application's folder should be: nothing can be written there, even by root.
    QVERIFY(writeFile(QDir(settingsFolder.path()).filePath(program.fake.appName), "not a folder"));

    QVERIFY(!program.fake.settings.WriteSetting(DurationKey, QStringLiteral("1/1/2024")));
    program.start();

    QCOMPARE(program.fake.messages.texts(), QStringList{});
    QVERIFY(ProgramFixture::shown("frmMain"));
}

// The user asked for the page: a store that cannot take today's date does not keep it from opening.
void TestStartupAndExit::failedWriteStillOpensTheDownloadPage()
{
    if (!StoreIsIniFile)
        QSKIP("the settings store is the registry");
    ProgramFixture program;
    program.fake.clock.date = QDate(2024, 3, 10);
    program.fake.messages.answerYes = true;
    QVERIFY(program.fake.settings.WriteSetting(DurationKey, QStringLiteral("1/1/2024")));
    // While the question is open a folder takes the store file's place: the write fails.
    program.fake.messages.onShow = [&](const FakeMessages::Shown&) {
        const QString file = settingsFile(program.fake.appName);
        QVERIFY(QFile::remove(file) && QDir().mkdir(file));
    };
    program.start();

    QCOMPARE(program.fake.messages.texts(), QStringList{Question});
    QVERIFY(!program.fake.settings.WriteSetting(DurationKey, QStringLiteral("1/1/2024")));
    QCOMPARE(program.fake.browser.opened, QStringList{page("download-web-page")});
}

void TestStartupAndExit::coBrandDraw_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<QByteArray>("front");

    QTest::newRow("r 0 -> 1") << 0.0f << QByteArray("lblCobrand");
    QTest::newRow("r 0.5 -> 4") << 0.5f << QByteArray("lblFullBrand");
    // 7 moves nothing: the offers stay as the window was built.
    QTest::newRow("largest r -> 7") << 0.99999994f << QByteArray("lblCobrand");
}

// The offer in front is the one seen at the strip, and a click there opens its page.
void TestStartupAndExit::coBrandDraw()
{
    QFETCH(float, r);
    QFETCH(QByteArray, front);

    ProgramFixture program;
    program.fake.random.values = {r};
    program.start();

    auto* strip = ProgramFixture::child(ProgramFixture::topLevel("frmMain"), "fraFullBrand");
    QWidget* seen = strip->childAt(strip->rect().center());
    QVERIFY(seen);
    QCOMPARE(seen->objectName(), QString::fromLatin1(front));

    QTest::mouseClick(seen, Qt::LeftButton);
    QCOMPARE(program.fake.browser.opened,
             QStringList{page(front == "lblCobrand" ? "co-brand" : "fully-branded")});
}

void TestStartupAndExit::closingMainShowsExitScreen_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("close box") << false;
    QTest::newRow("File Exit") << true;
}

void TestStartupAndExit::closingMainShowsExitScreen()
{
    QFETCH(bool, byMenu);
    ProgramFixture program;
    ShowRecorder recorder;
    program.start();
    QWidget* main = ProgramFixture::topLevel("frmMain");

    if (byMenu)
        main->findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    else
        QVERIFY(main->close());
    ProgramFixture::flushDeletes();

    QCOMPARE(ProgramFixture::topLevel("frmMain"), nullptr);
    QWidget* screen = ProgramFixture::topLevel("frmExitScreen");
    QVERIFY(screen);
    QVERIFY(screen->isVisible());
    QCOMPARE(screen->focusWidget(), ProgramFixture::child(screen, "cmdClose"));
    QCOMPARE(screen->windowTitle(), QStringLiteral("QZ Name Compatibility v1.15"));
    QCOMPARE(ProgramFixture::child<QLabel>(screen, "lblExitScreenCaption")->text(),
             QStringLiteral("QZ Name Compatibility v1.15"));
    QVERIFY(!screen->windowIcon().isNull());
    QVERIFY(!ProgramFixture::child<QLabel>(screen, "picExitScreenIcon")->pixmap().isNull());
    QCOMPARE(recorder.shows(QStringLiteral("frmStartup")), 0);
    QCOMPARE(program.fake.process.calls, 0);
    QCOMPARE(program.fake.browser.opened, QStringList{});
}

void TestStartupAndExit::exitCaption_data()
{
    QTest::addColumn<float>("r");
    QTest::addColumn<int>("caption");
    QTest::newRow("0") << 0.0f << 0;
    QTest::newRow("largest") << 0.99999994f << 3;
}

void TestStartupAndExit::exitCaption()
{
    QFETCH(float, r);
    QFETCH(int, caption);

    ProgramFixture program;
    program.fake.random.values = {0.0f, r}; // the strip's draw first, then the exit screen's
    program.start();
    const int seedsBefore = program.fake.random.seeds;
    QVERIFY(ProgramFixture::topLevel("frmMain")->close());

    QWidget* screen = ProgramFixture::topLevel("frmExitScreen");
    QCOMPARE(ProgramFixture::child<QLabel>(screen, "Label2")->text(),
             PromoTexts::exitCaptions()[static_cast<std::size_t>(caption)]);
    QVERIFY(program.fake.random.seeds > seedsBefore);
}

void TestStartupAndExit::check1ActsAsButton()
{
    ProgramFixture program;
    program.start();
    QVERIFY(ProgramFixture::topLevel("frmMain")->close());
    QWidget* screen = ProgramFixture::topLevel("frmExitScreen");
    auto* check = ProgramFixture::child<QCheckBox>(screen, "Check1");

    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(!check->isChecked());
    QTest::mouseClick(check, Qt::LeftButton);
    QVERIFY(!check->isChecked());

    QCOMPARE(program.fake.browser.opened, (QStringList{page("home-page"), page("home-page")}));
    QVERIFY(screen->isVisible());
    QCOMPARE(program.fake.process.calls, 0);
}

void TestStartupAndExit::endProgram_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Exit button") << QStringLiteral("cmdClose");
    QTest::newRow("Enter on the first focus") << QStringLiteral("Enter");
    QTest::newRow("space on the first focus") << QStringLiteral("Space");
    QTest::newRow("exit screen closed") << QStringLiteral("close");
    QTest::newRow("start-up window unloaded") << QStringLiteral("startup");
}

// Every window is unloaded before the process ends, each unload handler runs once, and nothing is
// loaded again on the way out.
void TestStartupAndExit::endProgram()
{
    QFETCH(QString, how);
    ProgramFixture program;
    ShowRecorder recorder;
    program.start();
    QVERIFY(ProgramFixture::topLevel("frmMain")->close());
    QWidget* screen = ProgramFixture::topLevel("frmExitScreen");
    const int drawsBefore = program.fake.random.draws;
    int releasesAtEnd = 0;
    program.fake.process.onTerminate = [&] {
        if (program.fake.process.calls == 1)
            releasesAtEnd = program.fake.instance.releases;
    };

    if (how == QLatin1String("cmdClose"))
        QTest::mouseClick(ProgramFixture::child(screen, "cmdClose"), Qt::LeftButton);
    else if (how == QLatin1String("Enter"))
        QTest::keyClick(screen->focusWidget(), Qt::Key_Return);
    else if (how == QLatin1String("Space"))
        QTest::keyClick(screen->focusWidget(), Qt::Key_Space);
    else if (how == QLatin1String("close"))
        QVERIFY(screen->close());
    else
        QVERIFY(ProgramFixture::topLevel("frmStartup")->close());
    ProgramFixture::flushDeletes();

    QVERIFY(program.fake.process.calls >= 1);
    // The process ends without destructors: the guard is given up before.
    QVERIFY(releasesAtEnd >= 1);
    for (const char* name : {"frmStartup", "frmMain", "frmExitScreen"})
        QCOMPARE(ProgramFixture::topLevel(name), nullptr);
    QCOMPARE(program.fake.random.draws, drawsBefore);
    QCOMPARE(recorder.shows(QStringLiteral("frmMain")), 1);
    QCOMPARE(recorder.shows(QStringLiteral("frmExitScreen")), 1);
    QCOMPARE(program.fake.browser.opened, QStringList{});
}

QTEST_MAIN(TestStartupAndExit)
#include "TestStartupAndExit.moc"
