#pragma once

#include "Services.h"

#include <QLockFile>
#include <QString>

#include <memory>

// One copy per user and application name, by a lock file in a runtime folder that only the user can
// write to. A copy that was killed leaves its file behind, but the lock records the holder's process id,
// so the next start finds the holder dead and takes the lock over; a file whose holder cannot be read is
// taken over once it is a few seconds old. Where no lock can be made, the program starts all the same.
class LockFileInstanceGuard : public InstanceGuard
{
public:
    // sessionFolders holds the session folder of each user, named by user id.
    explicit LockFileInstanceGuard(QString applicationName,
                                   QString sessionFolders = QStringLiteral("/run/user"));
    bool claim() override;
    void release() override;

private:
    QString applicationName_;
    QString sessionFolders_;
    std::unique_ptr<QLockFile> lock_;
};
