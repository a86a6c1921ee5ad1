#pragma once

#include "Services.h"

#include <QString>

#ifndef Q_OS_WIN
#include <QLockFile>

#include <memory>
#endif

// One copy per user and application name. On Linux a lock file: a copy that was killed leaves its file
// behind, but the lock records the holder's process id, so the next start finds the holder dead and takes
// the lock over. On Windows a named mutex of the user's session, which the system releases with its
// process however that process ends.
class LockFileInstanceGuard : public InstanceGuard
{
public:
    explicit LockFileInstanceGuard(QString applicationName);
    ~LockFileInstanceGuard() override;
    LockFileInstanceGuard(const LockFileInstanceGuard&) = delete;
    LockFileInstanceGuard& operator=(const LockFileInstanceGuard&) = delete;
    bool claim() override;

private:
    QString applicationName_;
#ifdef Q_OS_WIN
    void* mutex_ = nullptr; // a HANDLE, kept open while the program runs
#else
    std::unique_ptr<QLockFile> lock_;
#endif
};
