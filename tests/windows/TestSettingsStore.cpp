// The settings store's file: the files QSettings reads, what else lies at its path, and a disk that fills up.

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

// Anyone may mount a small file system in a user namespace of the test's own, made before any thread.
const bool mayMount = ::geteuid() == 0 || enterUserNamespace();

const QString DurationKey = QStringLiteral("Duration");
const QString StoredKey = QStringLiteral("Settings/") + ShiftEncode(DurationKey);
const QString Today = QStringLiteral("3/10/2024");

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("unreadable");
}

// The text as QSettings writes it with the values set.
QByteArray qtWrite(const QByteArray& text, const QVariantMap& values)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("written.ini"));
    writeFile(path, text);
    {
        QSettings settings(path, QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            settings.setValue(it.key(), it.value());
    }
    return readFile(path);
}

// What a path holds, without following a link: a link's target, a file's bytes, or another kind.
QString describe(const QString& path)
{
    struct stat info = {};
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return QStringLiteral("%1 %2; ").arg(info.st_mode, 0, 8).arg(QFile(path).symLinkTarget());
    return QCryptographicHash::hash(readFile(path), QCryptographicHash::Sha1).toHex();
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

// Every file from which QSettings reads the date is the store's: a due date asks, and today's date is stored
// with everything else QSettings read kept. Anything else at the store's path is an unusable store: no
// question, nothing written, nothing replaced, and no start that hangs.
void TestSettingsStore::onlyTheProgramsOwnFile_data()
{
    QTest::addColumn<QString>("atStorePath"); // "file" holds the bytes; a link's target holds them
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("usable");
    QTest::addColumn<QString>("after"); // the date read after the start

    const QVariant due = ShiftEncode(QStringLiteral("2/1/2024"));
    const QByteArray date = qtWrite({}, {{StoredKey, due}});
    const QByteArray dateKey = date.split('=').at(0) + '=';
    QByteArray singleBytes = "2/1/2024"; // the scrambled date in Windows-1252, not UTF-8
    for (char& c : singleBytes)
        c = char(c + 85);
    auto row = [](const char* name, const char* at, const QByteArray& bytes, bool usable,
                  const QString& after) {
        QTest::newRow(name) << QString::fromLatin1(at) << bytes << usable << after;
    };
    row("another group", "file", qtWrite({}, {{StoredKey, due}, {"Window/size", 1}}), true, Today);
    row("a byte order mark", "file", "\xef\xbb\xbf" + date, true, Today);
    row("comments", "file", "; kept by hand\n" + date + ";x=1\n", true, Today);
    row("[General] first", "file", qtWrite({}, {{StoredKey, due}, {"width", 1}}), true, Today);
    row("quoted value elsewhere", "file", qtWrite({}, {{StoredKey, due}, {"Settings/Note", "a, b"}}), true,
        Today);
    row("backslash and @Size elsewhere", "file",
        qtWrite({}, {{StoredKey, due}, {"Window/path", "C:\\x"}, {"Window/size", QSize(1, 2)}}), true, Today);
    row("lower-case key escapes", "file", QByteArray(date).replace("%CA%C7%B6", "%ca%c7%b6"), true, Today);
    row("a lone CR ends a line", "file", date + "Note=\r[Window]\nsize=1\n", true, Today);
    row("near the bound", "file", qtWrite({}, {{"Settings/Note", QString(4073, u'x')}}), true, QString(""));
    row("a killed write's leftovers", "leftovers", date, true, Today);
    row("a link to a store file", "store link", date, true, Today);
    row("Windows-1252 date", "file", dateKey + singleBytes + '\n', false, {});
    row("damaged file", "file", QByteArray("\x00\xff\xfe\x7f[\x00]=\n\x01\x02", 11) + QByteArray(4096, '\0'),
        false, {});
    row("too large for one value", "file", "[Settings]" + QByteArray(1 << 20, '\n'), false, {});
    row("a link to the user's notes", "notes", "Buy milk.\n", false, {});
    row("a link to a device", "device", {}, false, {});
    row("a dangling link", "dangling", {}, false, {});
    row("a FIFO", "fifo", {}, false, {});
}

void TestSettingsStore::onlyTheProgramsOwnFile()
{
    QFETCH(QString, atStorePath);
    QFETCH(QByteArray, bytes);
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
    if (atStorePath == u"device") // root's own device: root could replace /dev/null itself
        QCOMPARE(::geteuid() == 0
                     ? ::mknod(QFile::encodeName(other).constData(), S_IFCHR | 0666, ::makedev(1, 3))
                     : ::symlink("/dev/null", QFile::encodeName(other).constData()),
                 0);
    else if (atStorePath == u"fifo")
        QCOMPARE(::mkfifo(path.constData(), 0600), 0);
    else if (atStorePath != u"dangling")
        QVERIFY(writeFile(linked ? other : file, bytes));
    if (atStorePath == u"leftovers") { // as a write killed before its rename leaves them
        QVERIFY(QDir().mkpath(file + QStringLiteral(".tmp-a1B2c3")));
        QVERIFY(writeFile(file + QStringLiteral(".tmp-a1B2c3/new.ini"), bytes));
    }
    const QString before = describe(file) + describe(other);

    program.start();

    QVERIFY(ProgramFixture::shown("frmMain"));
    if (usable) {
        QFETCH(QString, after);
        QCOMPARE(program.fake.messages.texts().size(), after.isEmpty() ? 0 : 1);
        QCOMPARE(program.fake.settings.ReadSetting(DurationKey), std::optional<QString>(after));
        QCOMPARE(readFile(file), after.isEmpty() ? bytes : qtWrite(bytes, {{StoredKey, ShiftEncode(Today)}}));
        QCOMPARE(QFileInfo(file).isSymLink(), linked);
        QCOMPARE(QFileInfo(file).dir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QFileInfo(file).fileName()});
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
    if (!mayMount && qEnvironmentVariable("QZ_REQUIRE_MOUNT") == u"ON")
        QFAIL("mounting a small file system needs root or a user namespace, which this run requires");
    if (!mayMount)
        QSKIP("mounting a small file system needs root or a user namespace");
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
