#pragma once

#include "Services.h"

#include <QLockFile>
#include <QString>

#include <memory>

// One copy per user and application name, by a lock file in a runtime folder only the user can write to.
// A killed copy's lock names a dead process and is taken over, an unreadable one once it is a few seconds
// old. Where no lock can be made, the program starts all the same.
class LockFileInstanceGuard : public InstanceGuard
{
public:
    explicit LockFileInstanceGuard(QString applicationName);
    bool claim() override;
    void release() override;

    // The folder that holds each user's session folder, named by user id: /run/user unless a test moves it.
    static void setSessionFolders(const QString& path);

private:
    QString applicationName_;
    std::unique_ptr<QLockFile> lock_;
};
