#include "LockFileInstanceGuard.h"

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <QDir>
#include <QStandardPaths>
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

bool LockFileInstanceGuard::claim()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    lock_ = std::make_unique<QLockFile>(dir + u'/' + applicationName_ + QStringLiteral(".lock"));
    // A lock is stale only when its holder is gone; a live holder is never taken over, however old.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return true;
    // A lock left by a copy that died has already been taken over by tryLock. Only a lock held by a live
    // copy means another copy runs; a lock that cannot be made at all (no runtime folder, no permission)
    // must not keep the program from starting.
    return lock_->error() != QLockFile::LockFailedError;
}

#endif
