#include "LockFileInstanceGuard.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>
#endif

#include <utility>

LockFileInstanceGuard::LockFileInstanceGuard(QString applicationName)
    : applicationName_(std::move(applicationName))
{
}

#ifdef Q_OS_WIN

LockFileInstanceGuard::~LockFileInstanceGuard()
{
    if (mutex_)
        CloseHandle(static_cast<HANDLE>(mutex_));
}

bool LockFileInstanceGuard::claim()
{
    // "Local\\" is the namespace of the user's session: another user's copy is no obstacle.
    const QString name = QStringLiteral("Local\\QZ-") + applicationName_;
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name.utf16()));
    // Only a mutex that exists already means another copy runs (access denied: it exists, created by a
    // copy with other rights); any other failure must not keep the program from starting.
    if (!mutex)
        return GetLastError() != ERROR_ACCESS_DENIED;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        CloseHandle(mutex);
        return false;
    }
    mutex_ = mutex;
    return true;
}

#else

LockFileInstanceGuard::~LockFileInstanceGuard() = default;

namespace {

// A lock file whose holder cannot be read (a copy killed between creating the file and writing its
// process id into it) is left over once it is this old: a live copy writes its id at once.
constexpr int UnreadableLockStaleAfterMs = 5000;

bool isOwnFolder(const QString& path)
{
    const QFileInfo info(path);
    return info.isDir() && info.ownerId() == ::getuid();
}

// Makes the folder, private to the user, when nothing is there yet; true when it is the user's own.
bool makeOwnFolder(const QString& path)
{
    if (!QFileInfo::exists(path) && QDir().mkpath(path))
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return isOwnFolder(path);
}

} // namespace

QString LockFileInstanceGuard::runtimeFolder(const QString& sessionFolders, const QString& tempFolder)
{
    const QString fromSession = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!fromSession.isEmpty() && makeOwnFolder(fromSession))
        return fromSession;
    const QString uid = QString::number(::getuid());
    const QString systemFolder = sessionFolders + u'/' + uid;
    if (isOwnFolder(systemFolder))
        return systemFolder;
    // Keyed on the user id, not on $USER, which su may keep; made private so that no one else can place
    // or remove the lock.
    const QString ownFolder = tempFolder + QStringLiteral("/QZ-runtime-") + uid;
    return makeOwnFolder(ownFolder) ? ownFolder : QString();
}

QString LockFileInstanceGuard::lockFileName() const
{
    const QString folder = runtimeFolder(QStringLiteral("/run/user"), QDir::tempPath());
    return folder.isEmpty() ? QString() : folder + u'/' + applicationName_ + QStringLiteral(".lock");
}

bool LockFileInstanceGuard::claim()
{
    const QString fileName = lockFileName();
    // Without a runtime folder of this user's own the guard cannot be held: start all the same.
    if (fileName.isEmpty())
        return true;
    lock_ = std::make_unique<QLockFile>(fileName);
    // A lock is stale only when its holder is gone; a live holder is never taken over, however old.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    // A lock that cannot be made at all (no permission, a full disk) must not keep the program from
    // starting; a lock left by a copy that died has already been taken over by tryLock.
    if (lock_->error() != QLockFile::LockFailedError)
        return true;
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock_->getLockInfo(&pid, &host, &app))
        return false; // a live copy holds it
    const QFileInfo info(fileName);
    // A folder or anything else that is not a plain file cannot be a lock: start without one.
    if (!info.isFile() || info.isSymLink())
        return true;
    const qint64 ageMs = info.lastModified().msecsTo(QDateTime::currentDateTime());
    if (ageMs >= 0 && ageMs < UnreadableLockStaleAfterMs)
        return false; // a copy is starting and has not written its id yet
    // QLockFile removes it only when no live process holds the file's own lock.
    lock_->setStaleLockTime(UnreadableLockStaleAfterMs);
    if (lock_->tryLock(0))
        return true;
    // Still unreadable and not removable (no permission on it): no copy is known to run.
    return !lock_->getLockInfo(&pid, &host, &app);
}

#endif
