#pragma once

// A small file system of the test's own, seen by this thread only: a full disk, or a folder that replaces
// a system one, without touching the machine's.

#include <QFile>
#include <QString>

#include <sched.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

// Enters a user namespace of the process's own, where anyone may mount, keeping the user's ids there.
// Only a process without threads can: call it before QtTest starts its watchdog.
inline bool enterUserNamespace()
{
    const QByteArray uid = QByteArray::number(::geteuid()), gid = QByteArray::number(::getegid());
    const auto write = [](const char* file, const QByteArray& text) {
        QFile map(QString::fromLatin1(file));
        return map.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && map.write(text) == text.size();
    };
    return ::unshare(CLONE_NEWUSER) == 0 && write("/proc/self/uid_map", uid + ' ' + uid + " 1") &&
           write("/proc/self/setgroups", "deny") && write("/proc/self/gid_map", gid + ' ' + gid + " 1");
}

// Mounts a tmpfs at folder, in a mount namespace of this thread's own; false, with the cause, when it
// cannot (not root, nor in a user namespace of its own).
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
