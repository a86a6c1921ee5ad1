#pragma once

// A small file system of the test's own, seen by this thread only (root): a full disk, or a folder that
// replaces a system one, without touching the machine's.

#include <QFile>
#include <QString>

#include <sched.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>

// Mounts a tmpfs at folder, in a mount namespace of this thread's own; false, with the cause, when it
// cannot (not root, no CAP_SYS_ADMIN).
inline bool mountPrivateTmpfs(const QString& folder, const char* options)
{
    static const bool privateNamespace =
        ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    if (!privateNamespace ||
        ::mount("qz-test", QFile::encodeName(folder).constData(), "tmpfs", MS_NOSUID, options) != 0) {
        qWarning("cannot mount a tmpfs at %s: %s", qPrintable(folder), std::strerror(errno));
        return false;
    }
    return true;
}
