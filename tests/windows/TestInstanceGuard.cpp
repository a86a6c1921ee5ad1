// The single-instance guard on real lock files, in runtime folders of the test's own.

#include "PrivateMount.h"

#include "services/BaseDirs.h"
#include "services/LockFileInstanceGuard.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

// Anyone but root mounts the test's own /run in a user namespace of its own.
const bool mayMount = ::geteuid() == 0 || enterUserNamespace();

QString uniqueName()
{
    static int count = 0;
    return QStringLiteral("qz-guard-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

// Makes a folder of the kind a row names: "private" (the user's, rwx------), "open" (rwxr-xr-x) or
// "another user's" (owned by nobody, rwxrwxrwx); any other kind, nothing.
QString makeFolder(const QString& path, const QString& kind)
{
    const bool others = kind == u"another user's";
    if (kind != u"private" && kind != u"open" && !others)
        return path;
    const auto mode = QFile::Permissions::fromInt(kind == u"open" ? 0x7055 : others ? 0x7777 : 0x7000);
    const bool made = QDir().mkpath(path) && QFile::setPermissions(path, mode) &&
                      (!others || ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0);
    return made ? path : QString();
}

} // namespace

class TestInstanceGuard : public QObject
{
    Q_OBJECT
private slots:
    void claim_data();
    void claim();
    void runtimeFolder_data();
    void runtimeFolder();
    void baseDirs_data();
    void baseDirs();

private:
    QTemporaryDir temp_; // the test's cache folder
};

void TestInstanceGuard::claim_data()
{
    QTest::addColumn<QString>("atLockPath"); // what a previous copy left at the lock's path
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("starts");
    QTest::newRow("nothing") << "" << 0 << true;
    QTest::newRow("a live copy's lock") << "live" << 0 << false;
    QTest::newRow("a live copy's old lock") << "live" << 3600 << false;
    QTest::newRow("a copy that ended") << "released" << 0 << true;
    QTest::newRow("empty file, old") << "empty" << 10 << true;
    QTest::newRow("empty file, just made") << "empty" << 0 << false;
    QTest::newRow("unreadable holder, old") << "garbage" << 10 << true;
    QTest::newRow("a folder") << "folder" << 0 << true;
}

void TestInstanceGuard::claim()
{
    QFETCH(QString, atLockPath);
    QFETCH(int, ageSeconds);

    QTemporaryDir runtime;
    QVERIFY(runtime.isValid());
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    const QString app = uniqueName();
    const QString path = runtime.filePath(app + QStringLiteral(".lock"));

    LockFileInstanceGuard live(app);
    if (atLockPath == u"live" || atLockPath == u"released") {
        QVERIFY(live.claim());
        QVERIFY(QFile::exists(path));
    }
    if (atLockPath == u"released") {
        live.release();
        QVERIFY(QDir(runtime.path()).isEmpty());
    } else if (atLockPath == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (atLockPath == u"empty" || atLockPath == u"garbage") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        if (atLockPath == u"garbage")
            file.write("not a process id\n");
        file.close();
    }
    if (ageSeconds) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                                 QFileDevice::FileModificationTime));
    }

    LockFileInstanceGuard next(app);
    QFETCH(bool, starts);
    QCOMPARE(next.claim(), starts);
    // A refused copy ends through the same release: the lock it found stays.
    next.release();
    if (!starts)
        QVERIFY(QFile::exists(path));
}

// The lock lives only where no one else can place or remove it, and in the same folder however the copy
// was started: from the session, or through su, ssh or cron without the session's variable or with
// another user's left in it. Else a folder of the program's own, which nothing at its name switches off.
void TestInstanceGuard::runtimeFolder_data()
{
    // XDG_RUNTIME_DIR (a folder as makeFolder makes, "unset" or "relative"), /run/user/<uid>, what sits at
    // <cache>/<name>-lock (a folder kind, "file", "link" or "no home") and where the lock goes ("variable",
    // "session", "own", "beside" it, or "nowhere")
    QTest::addColumn<QStringList>("setup");
    QTest::newRow("from the session") << QStringList{"private", "private", "", "variable"};
    QTest::newRow("unset") << QStringList{"unset", "private", "", "session"};
    QTest::newRow("an open folder") << QStringList{"open", "private", "", "session"};
    QTest::newRow("another user's") << QStringList{"another user's", "private", "", "session"};
    QTest::newRow("relative") << QStringList{"relative", "none", "", "own"};
    QTest::newRow("unset, no session folder") << QStringList{"unset", "none", "", "own"};
    QTest::newRow("unset, open session folder") << QStringList{"unset", "open", "", "own"};
    QTest::newRow("another user's session folder") << QStringList{"unset", "another user's", "", "own"};
    QTest::newRow("own folder open") << QStringList{"unset", "none", "open", "own"};
    QTest::newRow("a file at the own folder") << QStringList{"unset", "none", "file", "beside"};
    QTest::newRow("a dangling link there") << QStringList{"unset", "none", "link", "beside"};
    QTest::newRow("another user's folder there") << QStringList{"unset", "none", "another user's", "beside"};
    QTest::newRow("no writable home") << QStringList{"unset", "none", "no home", "nowhere"};
}

void TestInstanceGuard::runtimeFolder()
{
    QFETCH(QStringList, setup);
    const QString &variable = setup[0], &sessionFolder = setup[1], &atOwnPlace = setup[2], &lockIn = setup[3];

    if (::geteuid() != 0 && setup.contains(u"another user's"))
        QSKIP("only root can give a folder to another user");
    // The session folders under /run/user are the test's own, on a tmpfs only this test sees.
    if (!mayMount)
        QSKIP("no user namespace of the test's own here (switched off, or a chroot); as root every row runs");
    static const bool runMounted = mountPrivateTmpfs(QStringLiteral("/run"), "mode=0755");
    QVERIFY(runMounted);
    QVERIFY(temp_.isValid());
    const QString app = uniqueName();
    const QString cache = atOwnPlace == u"no home" ? "/dev/null/cache" : temp_.filePath("cache");
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    const QString own = cache + u'/' + app + QStringLiteral("-lock");
    QDir().mkpath(cache);
    QVERIFY(atOwnPlace != u"file" || QFile(own).open(QIODevice::WriteOnly));
    QVERIFY(atOwnPlace != u"link" || QFile::link(temp_.filePath("nothing"), own));
    QCOMPARE(makeFolder(own, atOwnPlace), own);

    QTemporaryDir variableParent;
    QVERIFY(variableParent.isValid());
    const QString variableFolder = makeFolder(variableParent.filePath(QStringLiteral("runtime")), variable);
    const QString sessionPath = QStringLiteral("/run/user/%1").arg(::geteuid());
    QVERIFY(QDir(sessionPath).removeRecursively());
    const QString session = makeFolder(sessionPath, sessionFolder);
    QVERIFY(!variableFolder.isEmpty() && !session.isEmpty());
    if (variable == u"unset")
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR",
                variable == u"relative" ? app.toUtf8() : QFile::encodeName(variableFolder));

    for (int copy = 0; lockIn == u"nowhere" && copy < 2; ++copy)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("^Cannot check for another running copy"));
    LockFileInstanceGuard guard(app);
    QVERIFY(guard.claim());

    const QString expected = lockIn == u"variable"  ? variableFolder
                             : lockIn == u"session" ? session
                             : lockIn == u"own"     ? own
                             : lockIn == u"beside"  ? own + QStringLiteral("-1")
                                                    : QString();
    for (const QString& folder : {variableFolder, session, own, own + QStringLiteral("-1")})
        QCOMPARE(QFile::exists(folder + u'/' + app + QStringLiteral(".lock")), folder == expected);
    QVERIFY(!(QFile::permissions(expected) & (QFile::ReadGroup | QFile::ReadOther)));
    // Nothing is made relative to the folder the test runs in.
    QVERIFY(!QFile::exists(app));
    // A second copy started the same way is refused; the program's own folder goes with its lock.
    LockFileInstanceGuard second(app);
    QCOMPARE(second.claim(), lockIn == u"nowhere");
    guard.release();
    QVERIFY(!QFile::exists(expected) || !expected.startsWith(cache));
}

// Each folder from its variable: an absolute path as it is, anything else the default ("~": home).
void TestInstanceGuard::baseDirs_data()
{
    QTest::addColumn<QByteArray>("value");    // of all three variables
    QTest::addColumn<QStringList>("folders"); // configuration, cache, runtime
    QTest::newRow("absolute") << QByteArray("/srv/x") << QStringList{"/srv/x", "/srv/x", "/srv/x"};
    QTest::newRow("relative") << QByteArray("x") << QStringList{"~/.config", "~/.cache", ""};
    QTest::newRow("empty") << QByteArray() << QStringList{"~/.config", "~/.cache", ""};
}

void TestInstanceGuard::baseDirs()
{
    QFETCH(QByteArray, value);
    QFETCH(QStringList, folders);
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"})
        qputenv(variable, value);
    const QStringList found = {BaseDirs::configHome(), BaseDirs::cacheHome(), BaseDirs::runtimeDir()};
    QCOMPARE(found, folders.replaceInStrings(QStringLiteral("~"), QDir::homePath()));
}

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "TestInstanceGuard.moc"
