// Files that fight back, met through the real main window: a saved reading that is a FIFO, a symlink
// loop, a folder, a 2 GB sparse file or is deleted between being chosen and being read. Damaged settings
// files are met in the start-up tests.

#include "ProgramFixture.h"
#include "TestSupport.h"

#include "reading/frmMain.h"
#include "shell/Forms.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <functional>
#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The user chooses `path`; `afterChoice` then changes the file system before the program reads it.
class ChoosingDialog : public FileDialogService
{
public:
    std::optional<QString> openFile(QWidget*, const OpenFileRequest&) override
    {
        if (afterChoice)
            afterChoice();
        return path;
    }
    QString path;
    std::function<void()> afterChoice;
};

} // namespace

class TestHostileFiles : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void unreadableReadingIsReported_data();
    void unreadableReadingIsReported();
    void sparseTwoGigabyteReadingIsReadQuickly();

private:
    QString pathOf(const char* name) const { return QDir(dir->path()).filePath(QLatin1String(name)); }
    void start()
    {
        forms = std::make_unique<Forms>(Services{fake->messages, dialog, fake->browser, fake->settings,
                                                 fake->instance, fake->clock, fake->random, fake->process});
        forms->startup();
        main = &forms->main();
        typeNames(main, QStringLiteral("JOHN"), QStringLiteral("MARY"));
        fake->messages.clear();
    }
    void pressOpen()
    {
        QTest::mouseClick(main->findChild<QWidget*>(QStringLiteral("cmdOpen")), Qt::LeftButton);
    }
    QString level() const { return resultCaption(main, 2); }

    TemporarySettingsFolder settingsFolder;
    std::unique_ptr<QTemporaryDir> dir; // fresh for each case: a FIFO left behind would block writing
    ChoosingDialog dialog;
    std::unique_ptr<FakeServices> fake;
    std::unique_ptr<Forms> forms;
    frmMain* main = nullptr;
};

void TestHostileFiles::init()
{
    dir = std::make_unique<QTemporaryDir>();
    fake = std::make_unique<FakeServices>();
    dialog.path.clear();
    dialog.afterChoice = nullptr;
}

void TestHostileFiles::cleanup()
{
    main = nullptr;
    forms.reset();
    ProgramFixture::flushDeletes();
    fake.reset();
    dir.reset();
}

void TestHostileFiles::unreadableReadingIsReported_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("deleted after choosing") << QStringLiteral("deleted");
    QTest::newRow("FIFO with no writer") << QStringLiteral("fifo");
    QTest::newRow("replaced by a FIFO after choosing") << QStringLiteral("becomes-fifo");
    QTest::newRow("symlink loop") << QStringLiteral("loop");
    QTest::newRow("folder") << QStringLiteral("folder");
    QTest::newRow("no read permission for anyone") << QStringLiteral("mode-000");
}

void TestHostileFiles::unreadableReadingIsReported()
{
    QFETCH(QString, kind);
    const QString path = pathOf("reading.num");
    const QByteArray good =
        "a\r\nb\r\nc\r\n" + encoded("12") + "\r\n" + encoded("7") + "\r\n" + encoded("1990");
    if (kind == QLatin1String("deleted")) {
        QVERIFY(writeFile(path, good));
        dialog.afterChoice = [path] { QFile::remove(path); };
    } else if (kind == QLatin1String("fifo")) {
        QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    } else if (kind == QLatin1String("becomes-fifo")) {
        QVERIFY(writeFile(path, good));
        dialog.afterChoice = [path] {
            QFile::remove(path);
            mkfifo(QFile::encodeName(path).constData(), 0600);
        };
    } else if (kind == QLatin1String("loop")) {
        QVERIFY(QFile::link(pathOf("other.num"), path));
        QVERIFY(QFile::link(path, pathOf("other.num")));
    } else if (kind == QLatin1String("folder")) {
        QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("reading.num")));
    } else if (kind == QLatin1String("mode-000")) {
        QVERIFY(writeFile(path, good));
        QVERIFY(QFile::setPermissions(path, QFileDevice::Permissions()));
        if (geteuid() == 0)
            QSKIP("root reads any file whatever its mode");
    }
    dialog.path = path;
    start();

    const QString levelBefore = level();
    QElapsedTimer timer;
    timer.start();
    pressOpen();
    QVERIFY2(timer.elapsed() < 5000, "opening blocked");
    QCOMPARE(fake->messages.texts(), QStringList{QStringLiteral("Please Check The File.")});
    // The window is left as it was: no reading ran, and it still takes typing.
    QCOMPARE(level(), levelBefore);
    auto* box = main->findChild<QLineEdit*>(QStringLiteral("txtNameF"));
    QTest::keyClicks(box, QStringLiteral("X"));
    QCOMPARE(box->text(), QStringLiteral("MARYX"));
}

void TestHostileFiles::sparseTwoGigabyteReadingIsReadQuickly()
{
    const QString path = pathOf("huge.num");
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QVERIFY(f.resize(qint64{2} << 30));
    }
    dialog.path = path;
    start();

    QElapsedTimer timer;
    timer.start();
    pressOpen();
    QVERIFY2(timer.elapsed() < 5000, "a 2 GB file was read far beyond its first lines");
    // A megabyte of NULs and no line end: no line is complete, so the birth date stays empty and the
    // reading runs as for a short file.
    QCOMPARE(fake->messages.texts(), QStringList{});
    QCOMPARE(main->findChild<QComboBox*>(QStringLiteral("cboYear"))->currentText(), QString());
    QCOMPARE(level(), QStringLiteral("Your Level of Compatibility: 8"));
}

QTEST_MAIN(TestHostileFiles)
#include "TestHostileFiles.moc"
