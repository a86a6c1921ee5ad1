// The settings store's file: what lies at its path, and a disk that fills up.

#include "PrivateMount.h"
#include "ProgramFixture.h"
#include "TestSupport.h"

#include "reading/ShiftCodec.h"
#include "reading/frmMain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QString DurationKey = QStringLiteral("Duration");

QString dateText(const QDate& date)
{
    return date.toString(QStringLiteral("M/d/yyyy"));
}

// An INI file as QSettings writes it, holding a Duration value: the files earlier versions left.
QByteArray iniWithDuration(const QDate& date)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("written.ini"));
    QSettings(path, QSettings::IniFormat)
        .setValue(QStringLiteral("Settings/") + ShiftEncode(DurationKey), ShiftEncode(dateText(date)));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a path holds, without following a link: a link's target, a file's bytes, or another kind.
QString describe(const QString& path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return QStringLiteral("nothing; ");
    if (S_ISLNK(info.st_mode))
        return QStringLiteral("link to %1; ").arg(QFile::symLinkTarget(path));
    if (!S_ISREG(info.st_mode))
        return QStringLiteral("mode %1; ").arg(info.st_mode, 0, 8);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("unreadable; ");
    return QStringLiteral("file %1; ")
        .arg(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex());
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT
private slots:
    void onlyTheProgramsOwnFile_data();
    void onlyTheProgramsOwnFile();
    void fullDiskKeepsTheValue();

private:
    TemporarySettingsFolder settingsFolder;
};

// Anything but a regular file at the store's path, or a file that is not the store's, is an unusable store:
// no question, nothing written, nothing replaced, and no start that hangs. A value in the
// organisation-wide file beside it, which QSettings would fall back on, is not read.
void TestSettingsStore::onlyTheProgramsOwnFile_data()
{
    QTest::addColumn<QString>("atStorePath");
    QTest::addColumn<bool>("usable");

    QTest::newRow("damaged file") << "damaged" << false;
    QTest::newRow("too large for one value") << "large" << false;
    QTest::newRow("a link to the user's notes") << "notes" << false;
    QTest::newRow("a link to a device") << "device" << false;
    QTest::newRow("a dangling link") << "dangling" << false;
    QTest::newRow("a FIFO") << "fifo" << false;
    QTest::newRow("a folder") << "folder" << false;
    QTest::newRow("a link to a store file") << "store link" << true;
    QTest::newRow("a date in the organisation's file only") << "organisation" << true;
}

void TestSettingsStore::onlyTheProgramsOwnFile()
{
    QFETCH(QString, atStorePath);
    QFETCH(bool, usable);
    ProgramFixture program;
    program.fake.clock.date = QDate(2024, 3, 10);
    const QString file = settingsFile(program.fake.appName);
    const QString folder = QFileInfo(file).path();
    const QString other =
        QDir(settingsFolder.path()).filePath(program.fake.appName + QStringLiteral(".other"));
    const QByteArray path = QFile::encodeName(file);
    const QByteArray otherPath = QFile::encodeName(other);
    QVERIFY(QDir().mkpath(folder));
    const bool linked = atStorePath == u"notes" || atStorePath == u"device" || atStorePath == u"dangling" ||
                        atStorePath == u"store link";
    if (linked)
        QCOMPARE(::symlink(otherPath.constData(), path.constData()), 0);
    if (atStorePath == u"damaged")
        QVERIFY(
            writeFile(file, QByteArray("\x00\xff\xfe\x7f[\x00]=\n\x01\x02", 11) + QByteArray(4096, '\0')));
    else if (atStorePath == u"large")
        QVERIFY(writeFile(file, QByteArray("[Settings]") + QByteArray(1 << 20, '\n')));
    else if (atStorePath == u"notes")
        QVERIFY(writeFile(other, "Buy milk.\n"));
    else if (atStorePath == u"device") // a device of the test's own: /dev/null itself would be at stake
        QCOMPARE(::mknod(otherPath.constData(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    else if (atStorePath == u"fifo")
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    else if (atStorePath == u"folder")
        QVERIFY(QDir().mkdir(file));
    else if (atStorePath == u"store link")
        QVERIFY(writeFile(other, iniWithDuration(QDate(2024, 2, 1))));
    else if (atStorePath == u"organisation")
        QVERIFY(writeFile(folder + QStringLiteral(".ini"), iniWithDuration(QDate(2024, 2, 1))));
    const QString before = describe(file) + describe(other);

    program.start();

    QVERIFY(program.forms->main().isVisible());
    if (usable) {
        QCOMPARE(program.fake.settings.ReadSetting(DurationKey),
                 std::optional<QString>(dateText(QDate(2024, 3, 10))));
        QCOMPARE(describe(file).startsWith(u"link"), linked);
    } else {
        QCOMPARE(program.fake.messages.texts(), QStringList{});
        QCOMPARE(program.fake.settings.ReadSetting(DurationKey), std::nullopt);
        QVERIFY(!program.fake.settings.WriteSetting(DurationKey, QStringLiteral("1/2/2024")));
        QCOMPARE(describe(file) + describe(other), before);
    }
}

// The reminder's answer cannot be stored on a full disk: the stored date stays, and the write says it failed.
void TestSettingsStore::fullDiskKeepsTheValue()
{
    if (::geteuid() != 0)
        QSKIP("mounting a small file system needs root");
    QTemporaryDir disk;
    QVERIFY(disk.isValid());
    QVERIFY(mountPrivateTmpfs(disk.path(), "size=16k"));
    const SettingsFolderAt onDisk(disk.path());
    ProgramFixture program;
    program.fake.clock.date = QDate(2024, 3, 10);
    const QString stored = dateText(QDate(2024, 2, 19));
    QVERIFY(program.fake.settings.WriteSetting(DurationKey, stored));
    const QString file = settingsFile(program.fake.appName);
    const QString before = describe(file);
    QFile filler(disk.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(512, 'x')) > 0) {
    }

    program.start();

    QCOMPARE(program.fake.messages.texts().size(), 1);
    QCOMPARE(describe(file), before);
    QCOMPARE(program.fake.settings.ReadSetting(DurationKey), std::optional<QString>(stored));
    QVERIFY(!program.fake.settings.WriteSetting(DurationKey, dateText(program.fake.clock.date)));
}

QTEST_MAIN(TestSettingsStore)
#include "TestSettingsStore.moc"
