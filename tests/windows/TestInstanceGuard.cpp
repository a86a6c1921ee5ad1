// The single-instance guard on real lock files, in runtime folders of the test's own.

#include "PrivateMount.h"

#include "services/LockFileInstanceGuard.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

namespace {

QString uniqueName()
{
    static int count = 0;
    return QStringLiteral("qz-guard-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count);
}

// Makes a folder of the kind a row names: "private" (the user's, rwx------), "open" (rwxr-xr-x) or
// "another user's" (owned by nobody, rwxrwxrwx, as Qt's fallback left by another user); any other kind,
// nothing.
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

private:
    QTemporaryDir temp_; // the temporary folder, where Qt falls back for a runtime folder
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
// another user's left in it. Where another user made Qt's folder first, a folder of the program's own.
void TestInstanceGuard::runtimeFolder_data()
{
    QTest::addColumn<QString>("variable");      // XDG_RUNTIME_DIR: a folder as makeFolder makes, or "unset"
    QTest::addColumn<QString>("sessionFolder"); // /run/user/<uid>
    QTest::addColumn<bool>("qtFolderTaken");    // another user made the folder Qt falls back on
    QTest::addColumn<QString>("lockIn");        // "variable", "session", "Qt's" or "own"
    QTest::newRow("from the session") << "private"
                                      << "private" << false << "variable";
    QTest::newRow("unset") << "unset"
                           << "private" << false << "session";
    QTest::newRow("an open folder") << "open"
                                    << "private" << false << "session";
    QTest::newRow("another user's") << "another user's"
                                    << "private" << false << "session";
    QTest::newRow("unset, no session folder") << "unset"
                                              << "none" << false << "Qt's";
    QTest::newRow("unset, open session folder") << "unset"
                                                << "open" << false << "Qt's";
    QTest::newRow("another user's session folder") << "unset"
                                                   << "another user's" << false << "Qt's";
    QTest::newRow("Qt's folder taken") << "unset"
                                       << "none" << true << "own";
}

void TestInstanceGuard::runtimeFolder()
{
    QFETCH(QString, variable);
    QFETCH(QString, sessionFolder);
    QFETCH(bool, qtFolderTaken);
    QFETCH(QString, lockIn);

    // The session folders under /run/user are the test's own, on a tmpfs only this test sees.
    if (::geteuid() != 0)
        QSKIP("making session folders and other users' folders needs root");
    static const bool runMounted = mountPrivateTmpfs(QStringLiteral("/run"), "mode=0755");
    QVERIFY(runMounted);
    // Set by the row, not by initTestCase: a slot missing from a stale moc output is skipped without a
    // word, and Qt's fallback would then land in the shared /tmp. Every folder below is made in this one.
    QVERIFY(temp_.isValid());
    qputenv("TMPDIR", QFile::encodeName(temp_.path()));
    QCOMPARE(QDir::tempPath(), temp_.path());
    const QString cache = temp_.filePath(QStringLiteral("cache"));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    const passwd* user = ::getpwuid(::geteuid());
    QVERIFY(user);

    QTemporaryDir variableParent;
    QVERIFY(variableParent.isValid());
    const QString variableFolder = makeFolder(variableParent.filePath(QStringLiteral("runtime")), variable);
    const QString sessionPath = QStringLiteral("/run/user/%1").arg(::geteuid());
    QVERIFY(QDir(sessionPath).removeRecursively());
    const QString session = makeFolder(sessionPath, sessionFolder);
    const QString qtFolder =
        temp_.filePath(QStringLiteral("runtime-") + QString::fromLocal8Bit(user->pw_name));
    QVERIFY(QDir(qtFolder).removeRecursively());
    QVERIFY(!variableFolder.isEmpty() && !session.isEmpty());
    if (qtFolderTaken)
        QCOMPARE(makeFolder(qtFolder, QStringLiteral("another user's")), qtFolder);
    if (variable == u"unset")
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(variableFolder));

    const QString app = uniqueName();
    const QString own = cache + u'/' + app + QStringLiteral("-lock");
    LockFileInstanceGuard guard(app);
    QVERIFY(guard.claim());

    const QString expected = lockIn == u"variable"  ? variableFolder
                             : lockIn == u"session" ? session
                             : lockIn == u"Qt's"    ? qtFolder
                                                    : own;
    for (const QString& folder : {variableFolder, session, qtFolder, own})
        QCOMPARE(QFile::exists(folder + u'/' + app + QStringLiteral(".lock")), folder == expected);
    QVERIFY(!(QFile::permissions(expected) & (QFile::ReadGroup | QFile::ReadOther)));
    // A second copy started the same way is refused; the program's own folder goes with its lock.
    LockFileInstanceGuard second(app);
    QVERIFY(!second.claim());
    guard.release();
    QVERIFY(!QFile::exists(own));
}

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "TestInstanceGuard.moc"
