// The main window's open command: a saved reading chosen in the file dialog fills the birth date and
// runs the reading again with the names in the window.

#include "ProgramFixture.h"
#include "TestSupport.h"

#include "services/OpenFileDialogService.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#ifndef Q_OS_WIN
#include <QFileSystemModel>

#include <sys/inotify.h>
#include <unistd.h>
#endif

class TestMainWindowOpen : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void readsBirthDateAndRunsReading();
    void refusedOrCancelledChangesNothing_data();
    void refusedOrCancelledChangesNothing();
    void shortFileEmptiesBirthDate();
    void emptyNamesStillHideTheOtherWindows();
#ifndef Q_OS_WIN
    void qtDialogHistoryLeftAsItWas_data();
    void qtDialogHistoryLeftAsItWas();
    void dialogOpensNoFileItLists();
#endif

private:
    QString write(const QString& name, const QByteArray& bytes);
    void open(const QString& path)
    {
        program->fake.files.nextPath = path;
        QTest::mouseClick(ProgramFixture::child(main, "cmdOpen"), Qt::LeftButton);
    }
    QString combo(const char* name) const
    {
        return ProgramFixture::child<QComboBox>(main, name)->currentText();
    }
    QStringList birthDate() const
    {
        return {combo("cboMonth"), combo("cboDate"), combo("cboYear")};
    }

    TemporarySettingsFolder settingsFolder;
    QTemporaryDir files;
    std::unique_ptr<ProgramFixture> program;
    QWidget* main = nullptr;
};

void TestMainWindowOpen::init()
{
    program = std::make_unique<ProgramFixture>();
    program->start();
    main = ProgramFixture::topLevel("frmMain");
    program->fake.messages.clear();
}

void TestMainWindowOpen::cleanup()
{
    main = nullptr;
    program.reset();
}

QString TestMainWindowOpen::write(const QString& name, const QByteArray& bytes)
{
    const QString path = QDir(files.path()).filePath(name);
    return writeFile(path, bytes) ? path : QString();
}

void TestMainWindowOpen::readsBirthDateAndRunsReading()
{
    typeNames(main, QStringLiteral("JOHN"), QStringLiteral("MARY"));

    open(write(QStringLiteral("reading.num"), "QZ Free Numeris Pro\r\nJOHN\r\nMARY\r\n" + encoded("12") +
                                                  "\r\n" + encoded("7") + "\r\n" + encoded("1980") + "\r\n"));

    QCOMPARE(program->fake.messages.texts(), QStringList{});
    QCOMPARE(birthDate(), (QStringList{QStringLiteral("12"), QStringLiteral("7"), QStringLiteral("1980")}));
    QVERIFY(resultPageInFront(main));
    QCOMPARE(resultCaption(main, 2), QStringLiteral("Your Level of Compatibility: 8"));
    // Opening a reading does not close anything: the main window stays, the others are hidden.
    QVERIFY(main->isVisible());
    QVERIFY(ProgramFixture::topLevel("frmExitScreen"));
    QVERIFY(!ProgramFixture::shown("frmExitScreen"));
}

void TestMainWindowOpen::refusedOrCancelledChangesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");

    const QString check = QStringLiteral("Please Check The File.");
    QTest::newRow("cancelled") << QStringLiteral("cancel") << QString();
    QTest::newRow("ending in NUM") << QStringLiteral("upper") << check;
    QTest::newRow("a folder") << QStringLiteral("folder") << check;
}

// After a first reading, a choice that cannot be used leaves the window as it was.
void TestMainWindowOpen::refusedOrCancelledChangesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);

    const QByteArray valid =
        "1\r\n2\r\n3\r\n" + encoded("12") + "\r\n" + encoded("7") + "\r\n" + encoded("1980");
    QTest::keyClicks(ProgramFixture::child(main, "txtNameM"), QStringLiteral("JOHN"));
    QTest::keyClicks(ProgramFixture::child(main, "txtNameF"), QStringLiteral("MARY"));
    ProgramFixture::child<QComboBox>(main, "cboMonth")->setEditText(QStringLiteral("3"));

    if (kind == QLatin1String("cancel")) {
        program->fake.files.nextPath.reset();
        QTest::mouseClick(ProgramFixture::child(main, "cmdOpen"), Qt::LeftButton);
    } else if (kind == QLatin1String("upper")) {
        open(write(QStringLiteral("reading.NUM"), valid));
    } else {
        const QString folder = QDir(files.path()).filePath(QStringLiteral("folder.num"));
        QVERIFY(QDir().mkpath(folder));
        open(folder);
    }

    QCOMPARE(program->fake.messages.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    if (!message.isEmpty())
        QCOMPARE(program->fake.messages.shown.first().kind, FakeMessages::Kind::Error);
    QCOMPARE(birthDate(), (QStringList{QStringLiteral("3"), QString(), QString()}));
    QVERIFY(!resultPageInFront(main));
    QCOMPARE(resultCaption(main, 2), QStringLiteral("compatibility"));
    QCOMPARE(ProgramFixture::topLevel("frmExitScreen"), nullptr);
}

void TestMainWindowOpen::shortFileEmptiesBirthDate()
{
    typeNames(main, QStringLiteral("JOHN"), QStringLiteral("MARY"));
    open(write(QStringLiteral("full.num"), "1\r\n2\r\n3\r\n" + encoded("12") + "\r\n" + encoded("7") +
                                               "\r\n" + encoded("1980") + "\r\n"));
    QCOMPARE(birthDate(), (QStringList{QStringLiteral("12"), QStringLiteral("7"), QStringLiteral("1980")}));
    QTest::mouseClick(ProgramFixture::child(main, "cmdBack"), Qt::LeftButton);
    typeNames(main, QStringLiteral("mary ann"), QStringLiteral("john"));

    open(write(QStringLiteral("short.num"), "one\r\ntwo\r\nthree\r\n"));

    QCOMPARE(program->fake.messages.texts(), QStringList{});
    QCOMPARE(birthDate(), (QStringList{QString(), QString(), QString()}));
    QVERIFY(resultPageInFront(main));
    QCOMPARE(resultCaption(main, 2), QStringLiteral("Your Level of Compatibility: 7"));
}

// The reading refuses the empty names, but the birth date is filled and the exit screen is loaded and
// left hidden, so that closing the main window later shows it without loading it again.
void TestMainWindowOpen::emptyNamesStillHideTheOtherWindows()
{
    ShowRecorder recorder;
    open(write(QStringLiteral("reading.num"),
               "1\n2\n3\n" + encoded("1") + '\n' + encoded("31") + '\n' + encoded("1975") + '\n'));

    QCOMPARE(program->fake.messages.texts(), QStringList{QStringLiteral("Please Enter Your Name")});
    QCOMPARE(birthDate(), (QStringList{QStringLiteral("1"), QStringLiteral("31"), QStringLiteral("1975")}));
    QVERIFY(!resultPageInFront(main));
    QVERIFY(ProgramFixture::topLevel("frmExitScreen"));
    QVERIFY(!ProgramFixture::shown("frmExitScreen"));
    const int drawsAfterLoad = program->fake.random.draws;

    QVERIFY(main->close());
    QVERIFY(ProgramFixture::shown("frmExitScreen"));
    QCOMPARE(program->fake.random.draws, drawsAfterLoad);
    QCOMPARE(recorder.shows(QStringLiteral("frmStartup")), 0);
}

#ifndef Q_OS_WIN
void TestMainWindowOpen::qtDialogHistoryLeftAsItWas_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::newRow("no history") << QByteArray();
    QTest::newRow("another program's history") << QByteArray(
        "[FileDialog]\nhistory=file:///elsewhere\nlastVisited=file:///elsewhere\n\n[Other]\nkept=1\n");
}

// Qt's dialog writes the folders it visited into a settings file every Qt program of the user shares;
// another program writes there while the dialog is open.
void TestMainWindowOpen::qtDialogHistoryLeftAsItWas()
{
    QFETCH(QByteArray, before);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder.path());
    const QString history = QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName();
    const QString store =
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QZ")).fileName();
    QFile::remove(history);
    if (!before.isEmpty())
        QVERIFY(writeFile(history, before));
    const QByteArray otherWrite = before + "[Another]\nwritten=while the dialog was open\n";
    const QString chosen = write(QStringLiteral("reading.num"), "1\n");
    // Seen while the dialog is open: where Qt's history and the program's store are.
    QString dialogHistory;
    QString storeDuring;
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialogHistory = QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName();
        storeDuring = QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("QZ")).fileName();
        writeFile(history, otherWrite);
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides the override
    });

    OpenFileDialogService dialogs;
    QCOMPARE(
        dialogs.openFile(main, {QStringLiteral("Select"), QStringLiteral("Readings (*.num)"), QString()}),
        std::optional<QString>(chosen));

    QFile after(history);
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(after.readAll(), otherWrite);
    QVERIFY(dialogHistory != history);
    QVERIFY(!QFile::exists(dialogHistory));
    QCOMPARE(storeDuring, store);
    QCOMPARE(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName(), history);
}

// Qt's dialog guesses a listed file's type by reading it, on the window's thread: a FIFO put in the
// file's place meanwhile would freeze the window. The dialog opens no file it lists.
void TestMainWindowOpen::dialogOpensNoFileItLists()
{
    const QString chosen = write(QStringLiteral("reading.num"), "1\n");
    const int opens = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    QVERIFY(opens >= 0 &&
            ::inotify_add_watch(opens, QFile::encodeName(files.path()).constData(), IN_OPEN) >= 0);
    QTimer::singleShot(0, this, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->selectFile(chosen);
        const auto* model = dialog->findChild<QFileSystemModel*>();
        QTRY_VERIFY(!model->type(model->index(chosen)).isEmpty());
        static_cast<QDialog*>(dialog)->accept();
    });
    OpenFileDialogService dialogs;
    QCOMPARE(
        dialogs.openFile(main, {QStringLiteral("Select"), QStringLiteral("Readings (*.num)"), QString()}),
        std::optional<QString>(chosen));

    alignas(inotify_event) char events[4096];
    const ssize_t got = ::read(opens, events, sizeof events);
    ::close(opens);
    for (ssize_t at = 0; at < got;) {
        const auto* event = reinterpret_cast<const inotify_event*>(events + at);
        QCOMPARE(event->len ? QString::fromLocal8Bit(event->name) : QString(), QString());
        at += ssize_t(sizeof(inotify_event) + event->len);
    }
}
#endif

QTEST_MAIN(TestMainWindowOpen)
#include "TestMainWindowOpen.moc"
