#include "LockFileInstanceGuard.h"

#include "BaseDirs.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

// A lock file whose holder cannot be read (a copy killed between creating the file and writing its
// process id into it) is left over once it is this old: a live copy writes its id at once.
constexpr int UnreadableLockStaleAfterMs = 5000;

// Names the program's own folder may take, tried in turn.
constexpr int OwnFolderNames = 10;

// A folder where no one but the user can place or remove a lock: the user's own, closed to everyone else.
bool isPrivateFolder(const QString& path)
{
    constexpr QFile::Permissions Others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    const QFileInfo info(path);
    return !path.isEmpty() && info.isDir() && info.ownerId() == ::geteuid() && !(info.permissions() & Others);
}

// Makes path a folder of the user's closed to everyone else, mending the mode of one the user already
// owns; false for anything else there (a file, a link, another user's folder). Never goes through a link.
bool makePrivateFolder(const QByteArray& path)
{
    ::mkdir(path.constData(), 0700);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    struct stat status = {};
    const bool own = ::fstat(fd, &status) == 0 && status.st_uid == ::geteuid() &&
                     ((status.st_mode & 077) == 0 || ::fchmod(fd, 0700) == 0);
    ::close(fd);
    return own;
}

// Nothing yet, or a plain file of the user's: another user's file or a link there would hold the lock
// for good, a folder would switch it off.
bool canHoldLock(const QByteArray& lockPath)
{
    struct stat status = {};
    if (::lstat(lockPath.constData(), &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode) && status.st_uid == ::geteuid();
}

// Where no session folder is private (root, su, cron, containers), a folder of the program's own in the
// user's cache folder. Whatever sits at its name, the next of a few names is tried: every copy takes the
// same first usable one.
QString ownFolder(const QString& applicationName)
{
    const QString cache = BaseDirs::cacheHome();
    const QString base = cache + u'/' + applicationName + QStringLiteral("-lock");
    QDir().mkpath(cache);
    for (int i = 0; i < OwnFolderNames; ++i) {
        const QString folder = i == 0 ? base : base + u'-' + QString::number(i);
        const QString lock = folder + u'/' + applicationName + QStringLiteral(".lock");
        if (makePrivateFolder(QFile::encodeName(folder)) && canHoldLock(QFile::encodeName(lock)))
            return folder;
    }
    return {};
}

// The program starts all the same, but says so: a second copy would not be stopped.
bool startUnguarded(const QString& reason)
{
    qWarning("Cannot check for another running copy (%s); starting all the same.", qPrintable(reason));
    return true;
}

} // namespace

// The first private one of XDG_RUNTIME_DIR (su, ssh or cron may leave it unset or another user's), the
// user's session folder and a folder of the program's own; empty when none is.
QString LockFileInstanceGuard::lockFolder()
{
    const QString session = QStringLiteral("/run/user/") + QString::number(::geteuid());
    for (const QString& folder : {BaseDirs::runtimeDir(), session}) {
        if (isPrivateFolder(folder))
            return folder;
    }
    ownFolder_ = ownFolder(applicationName_);
    return ownFolder_;
}

LockFileInstanceGuard::LockFileInstanceGuard(QString applicationName)
    : applicationName_(std::move(applicationName))
{
}

bool LockFileInstanceGuard::claim()
{
    const QString folder = lockFolder();
    if (folder.isEmpty())
        return startUnguarded(QStringLiteral("no folder of this user's own can hold its lock"));
    const QString fileName = folder + u'/' + applicationName_ + QStringLiteral(".lock");
    lock_ = std::make_unique<QLockFile>(fileName);
    // A lock is stale only when its holder is gone; a live holder is never taken over, however old.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    // A lock that cannot be made at all (no permission, a full disk) must not keep the program from
    // starting; a lock left by a copy that died has already been taken over by tryLock.
    if (lock_->error() != QLockFile::LockFailedError)
        return startUnguarded(fileName + QStringLiteral(" cannot be made"));
    qint64 pid = 0;
    QString host;
    QString app;
    if (lock_->getLockInfo(&pid, &host, &app))
        return false; // a live copy holds it
    const QFileInfo info(fileName);
    if (!info.isFile() || info.isSymLink())
        return startUnguarded(fileName + QStringLiteral(" is not a lock file"));
    const qint64 ageMs = info.lastModified().msecsTo(QDateTime::currentDateTime());
    if (ageMs >= 0 && ageMs < UnreadableLockStaleAfterMs)
        return false; // a copy is starting and has not written its id yet
    // QLockFile removes it only when no live process holds the file's own lock.
    lock_->setStaleLockTime(UnreadableLockStaleAfterMs);
    if (lock_->tryLock(0))
        return true;
    // Still unreadable and not removable (no permission on it): no copy is known to run.
    return !lock_->getLockInfo(&pid, &host, &app) &&
           startUnguarded(fileName + QStringLiteral(" cannot be replaced"));
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
