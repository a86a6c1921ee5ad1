#include "LockFileInstanceGuard.h"

#include "BaseDirs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

#include <utility>

namespace {

// A lock file whose holder cannot be read (a copy killed between creating the file and writing its
// process id into it) is left over once it is this old: a live copy writes its id at once.
constexpr int UnreadableLockStaleAfterMs = 5000;

// A folder where no one but the user can place or remove a lock: the user's own, closed to everyone else.
bool isPrivateFolder(const QString& path)
{
    constexpr QFile::Permissions Others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && info.ownerId() == ::geteuid() && !(info.permissions() & Others);
}

// Where no session folder is private to the user, a folder of the program's own making in the user's
// cache folder: another user can make Qt's runtime folder under the shared temporary folder first.
QString ownFolder(const QString& applicationName)
{
    const QString cache = BaseDirs::cacheHome();
    const QString folder = cache + u'/' + applicationName + QStringLiteral("-lock");
    QDir().mkpath(cache);
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return folder;
}

} // namespace

// The first private one of XDG_RUNTIME_DIR (su, ssh or cron may leave it unset or another user's), the
// user's session folder, Qt's runtime folder and a folder of the program's own; empty when none is.
QString LockFileInstanceGuard::lockFolder()
{
    const QString session = QStringLiteral("/run/user/") + QString::number(::geteuid());
    for (const QString& folder : {qEnvironmentVariable("XDG_RUNTIME_DIR"), session,
                                  QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)}) {
        if (isPrivateFolder(folder))
            return folder;
    }
    ownFolder_ = ownFolder(applicationName_);
    return isPrivateFolder(ownFolder_) ? ownFolder_ : QString();
}

LockFileInstanceGuard::LockFileInstanceGuard(QString applicationName)
    : applicationName_(std::move(applicationName))
{
}

bool LockFileInstanceGuard::claim()
{
    const QString folder = lockFolder();
    // Without any folder of this user's own (no home either) the guard cannot be held: start all the same.
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
    // Nothing outlives the program: the folder of its own goes too, once empty.
    if (!ownFolder_.isEmpty())
        QDir().rmdir(ownFolder_);
}
