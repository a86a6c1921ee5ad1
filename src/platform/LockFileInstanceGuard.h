#pragma once

#include "Services.h"

#include <QString>

#ifndef Q_OS_WIN
#include <QLockFile>

#include <memory>
#endif

// One copy per user and application name. On Linux a lock file in the user's runtime folder: a copy that was
// killed leaves its file behind, but the lock records the holder's process id, so the next start finds the
// holder dead and takes the lock over; a file whose holder cannot be read is taken over once it is a few
// seconds old, and anything at the lock's path that is not a file lets the program start. On Windows a named
// mutex of the user's session, which the system releases with its process however that process ends.
class LockFileInstanceGuard : public InstanceGuard
{
public:
    explicit LockFileInstanceGuard(QString applicationName);
    ~LockFileInstanceGuard() override;
    LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
    LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;
    bool claim() override;
#ifndef Q_OS_WIN
    // Where the lock lives; empty when the user has no runtime folder of their own.
    QString lockFileName() const;

    // The user's runtime folder, the same however this copy was started: from the session, or through su,
    // ssh or cron, which may leave XDG_RUNTIME_DIR unset or set to another user's folder. That variable when
    // it names a folder of the user's own, else the session's folder for the user id under sessionFolders
    // (/run/user), else a private folder for the user id under tempFolder; empty when none is the user's.
    static QString runtimeFolder(const QString& sessionFolders, const QString& tempFolder);
#endif

private:
    QString applicationName_;
#ifdef Q_OS_WIN
    void* mutex_ = nullptr; // a HANDLE, kept open while the program runs
#else
    std::unique_ptr<QLockFile> lock_;
#endif
};
