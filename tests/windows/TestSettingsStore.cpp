// The settings store's file: what lies at its path, and a disk that fills up.

#include "PrivateMount.h"
#include "ProgramFixture.h"
#include "TestSupport.h"

#include "reading/ShiftCodec.h"

#include <QCryptographicHash>
#include <QTest>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

const QString DurationKey = QStringLiteral("Duration");

// An INI file as QSettings writes it, holding a Duration value: the files earlier versions left.
QByteArray iniWithDuration(const QString& date)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("written.ini"));
    QSettings(path, QSettings::IniFormat)
        .setValue(QStringLiteral("Settings/") + ShiftEncode(DurationKey), ShiftEncode(date));
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a path holds, without following a link: a link's target, a file's bytes, or another kind.
QString describe(const QString& path)
{
    struct stat info = {};
    QFile file(path);
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return QStringLiteral("%1 %2; ").arg(info.st_mode, 0, 8).arg(file.symLinkTarget());
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex()
               : QByteArray("unreadable");
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
    const QString other = settingsFolder.path() + u'/' + program.fake.appName + QStringLiteral(".other");
    const QByteArray path = QFile::encodeName(file);
    QVERIFY(QDir().mkpath(QFileInfo(file).path()));
    const bool linked = QStringList{"notes", "device", "dangling", "store link"}.contains(atStorePath);
    if (linked)
        QCOMPARE(::symlink(QFile::encodeName(other).constData(), path.constData()), 0);
    if (atStorePath == u"damaged")
        QVERIFY(
            writeFile(file, QByteArray("\x00\xff\xfe\x7f[\x00]=\n\x01\x02", 11) + QByteArray(4096, '\0')));
    else if (atStorePath == u"large")
        QVERIFY(writeFile(file, QByteArray("[Settings]") + QByteArray(1 << 20, '\n')));
    else if (atStorePath == u"notes")
        QVERIFY(writeFile(other, "Buy milk.\n"));
    else if (atStorePath == u"device") // a device of the test's own: /dev/null itself would be at stake
        QCOMPARE(::mknod(QFile::encodeName(other).constData(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    else if (atStorePath == u"fifo")
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    else if (atStorePath != u"dangling")
        QVERIFY(
            writeFile(atStorePath == u"store link" ? other : QFileInfo(file).path() + QStringLiteral(".ini"),
                      iniWithDuration(QStringLiteral("2/1/2024"))));
    const QString before = describe(file) + describe(other);

    program.start();

    QVERIFY(ProgramFixture::shown("frmMain"));
    if (usable) {
        QCOMPARE(program.fake.settings.ReadSetting(DurationKey),
                 std::optional<QString>(QStringLiteral("3/10/2024")));
        QCOMPARE(QFileInfo(file).isSymLink(), linked);
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
    QVERIFY(disk.isValid() && mountPrivateTmpfs(disk.path(), "size=16k"));
    const SettingsFolderAt onDisk(disk.path());
    ProgramFixture program;
    program.fake.clock.date = QDate(2024, 3, 10);
    QVERIFY(program.fake.settings.WriteSetting(DurationKey, QStringLiteral("2/19/2024")));
    const QString before = describe(settingsFile(program.fake.appName));
    QFile filler(disk.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(512, 'x')) > 0) {
    }

    program.start();

    QCOMPARE(program.fake.messages.texts().size(), 1);
    QCOMPARE(describe(settingsFile(program.fake.appName)), before);
    QCOMPARE(program.fake.settings.ReadSetting(DurationKey),
             std::optional<QString>(QStringLiteral("2/19/2024")));
    QVERIFY(!program.fake.settings.WriteSetting(DurationKey, QStringLiteral("3/10/2024")));
}

QTEST_MAIN(TestSettingsStore)
#include "TestSettingsStore.moc"
