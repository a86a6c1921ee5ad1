// The single-instance guard on real lock files, in runtime folders of the test's own.

#include "platform/LockFileInstanceGuard.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

QString uniqueName()
{
    static int count = 0;
    return QStringLiteral("qz-guard-%1-%2").arg(QCoreApplication::applicationPid()).arg(++count);
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
};

void TestInstanceGuard::claim_data()
{
    QTest::addColumn<QString>("atLockPath"); // what a previous copy left at the lock's path
    QTest::addColumn<int>("ageSeconds");
    QTest::addColumn<bool>("starts");
    QTest::newRow("nothing") << "" << 0 << true;
    QTest::newRow("a live copy's lock") << "live" << 0 << false;
    QTest::newRow("a live copy's old lock") << "live" << 3600 << false;
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
    if (atLockPath == u"live") {
        QVERIFY(live.claim());
    } else if (atLockPath == u"folder") {
        QVERIFY(QDir().mkdir(path));
    } else if (!atLockPath.isEmpty()) {
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
    QTEST(next.claim(), "starts");
    QCOMPARE(next.lockFileName(), path);
}

// Copies started from the session, without its runtime variable (su, ssh, cron) or with another user's
// left in it find the same folder.
void TestInstanceGuard::runtimeFolder_data()
{
    QTest::addColumn<QString>("variable"); // "session", "unset" or "another user's"
    QTest::addColumn<bool>("sessionFolderExists");
    QTest::addColumn<bool>("tempFolderTaken"); // someone else made the private folder under the temp folder
    QTest::addColumn<QString>("folder");       // "session", "private" or "none"
    QTest::newRow("from the session") << "session" << true << false << "session";
    QTest::newRow("unset") << "unset" << true << false << "session";
    QTest::newRow("another user's") << "another user's" << true << false << "session";
    QTest::newRow("unset, no session folder") << "unset" << false << false << "private";
    QTest::newRow("another user's, no session folder") << "another user's" << false << false << "private";
    // Only root can make a folder that belongs to someone else.
    if (::getuid() == 0)
        QTest::newRow("private folder taken") << "unset" << false << true << "none";
}

void TestInstanceGuard::runtimeFolder()
{
    QFETCH(QString, variable);
    QFETCH(bool, sessionFolderExists);
    QFETCH(bool, tempFolderTaken);
    QFETCH(QString, folder);

    QTemporaryDir sessionFolders;
    QTemporaryDir temp;
    QVERIFY(sessionFolders.isValid() && temp.isValid());
    const QString uid = QString::number(::getuid());
    const QString session = sessionFolders.filePath(uid);
    const QString privateFolder = temp.filePath(QStringLiteral("QZ-runtime-") + uid);
    if (sessionFolderExists)
        QVERIFY(QDir().mkdir(session));
    // Root owns every folder it makes: one of someone else's needs a change of owner, which only root can
    // make; anyone else finds "/" owned by root.
    auto someoneElses = [](const QString& path) {
        if (::getuid() != 0)
            return QStringLiteral("/");
        return QDir().mkdir(path) && ::chown(QFile::encodeName(path).constData(), 65534, 65534) == 0
                   ? path
                   : QString();
    };
    if (tempFolderTaken)
        QCOMPARE(someoneElses(privateFolder), privateFolder);
    QByteArray value;
    if (variable == u"session")
        value = QFile::encodeName(session);
    else if (variable == u"another user's")
        value = QFile::encodeName(someoneElses(sessionFolders.filePath(QStringLiteral("other"))));
    if (value.isNull())
        qunsetenv("XDG_RUNTIME_DIR");
    else
        qputenv("XDG_RUNTIME_DIR", value);

    const QString expected = folder == u"session"   ? session
                             : folder == u"private" ? privateFolder
                                                    : QString();
    QCOMPARE(LockFileInstanceGuard::runtimeFolder(sessionFolders.path(), temp.path()), expected);
    if (folder == u"private")
        QCOMPARE(QFile::permissions(privateFolder) & 0x0077, QFile::Permissions());
}

QTEST_GUILESS_MAIN(TestInstanceGuard)
#include "TestInstanceGuard.moc"
