#pragma once

#include "Services.h"

#include <QLockFile>
#include <QString>

#include <memory>

// One copy per user and application name, by a lock file in a folder only the user can write to: a
// runtime folder, else one of the program's own making in the user's cache folder.
// A killed copy's lock names a dead process and is taken over, an unreadable one once it is a few seconds
// old. Where no lock can be held, the program starts all the same and says so on standard error.
class LockFileInstanceGuard : public InstanceGuard
{
public:
    explicit LockFileInstanceGuard(QString applicationName);
    bool claim() override;
    void release() override;

private:
    QString lockFolder();

    QString applicationName_;
    QString ownFolder_; // the folder of the program's own making, when the lock is there
    std::unique_ptr<QLockFile> lock_;
};
