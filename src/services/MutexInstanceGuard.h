#pragma once

#include "Services.h"

#include <QString>

// One copy per user session and application name, by a named mutex, which the system releases with its
// process however that process ends. The name is the application name in lower case: the file system and
// the registry ignore the letter case, so a copy started as QZFREENAMECOMPATIBILITY.EXE is the same
// program. The installer looks for the same name to find a running copy.
class MutexInstanceGuard : public InstanceGuard
{
public:
    explicit MutexInstanceGuard(const QString& applicationName);
    ~MutexInstanceGuard() override;
    MutexInstanceGuard(const MutexInstanceGuard&) = delete;
    MutexInstanceGuard& operator=(const MutexInstanceGuard&) = delete;
    bool claim() override;
    void release() override;

private:
    QString name_;
    void* mutex_ = nullptr; // a HANDLE, kept open while the claim is held
};
