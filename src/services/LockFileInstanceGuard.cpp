#include "LockFileInstanceGuard.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

#include <utility>

namespace {

// A lock file whose holder cannot be read (a copy killed between creating the file and writing its
// process id into it) is left over once it is this old: a live copy writes its id at once.
constexpr int UnreadableLockStaleAfterMs = 5000;

QString& sessionFolders()
{
    static QString path = QStringLiteral("/run/user");
    return path;
}

// A folder where no one but the user can place or remove a lock: the user's own, closed to everyone else.
bool isPrivateFolder(const QString& path)
{
    constexpr QFile::Permissions Others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFileInfo info(path);
    return info.isDir() && info.ownerId() == ::geteuid() && !(info.permissions() & Others);
}

// The first private one of XDG_RUNTIME_DIR (su, ssh or cron may leave it unset or another user's), the
// user's session folder and Qt's runtime folder (only ever the user's, mode 0700); empty when none is.
QString runtimeFolder()
{
    const QString fromSession = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!fromSession.isEmpty() && isPrivateFolder(fromSession))
        return fromSession;
    const QString session = sessionFolders() + u'/' + QString::number(::geteuid());
    if (isPrivateFolder(session))
        return session;
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

} // namespace

LockFileInstanceGuard::LockFileInstanceGuard(QString applicationName)
    : applicationName_(std::move(applicationName))
{
}

void LockFileInstanceGuard::setSessionFolders(const QString& path)
{
    sessionFolders() = path;
}

bool LockFileInstanceGuard::claim()
{
    const QString folder = runtimeFolder();
    // Without a runtime folder of this user's own the guard cannot be held: start all the same.
    if (folder.isEmpty())
        return true;
    const QString fileName = folder + u'/' + applicationName_ + QStringLiteral(".lock");
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

void LockFileInstanceGuard::release()
{
    // Removes the file only when this copy holds the lock.
    if (lock_)
        lock_->unlock();
}
