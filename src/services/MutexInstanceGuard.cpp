#include "MutexInstanceGuard.h"

#include <qt_windows.h>

MutexInstanceGuard::MutexInstanceGuard(const QString& applicationName)
    // "Local\" is the namespace of the user's session: another user's copy is no obstacle.
    : name_(QStringLiteral("Local\\QZ-") + applicationName.toLower())
{
}

MutexInstanceGuard::~MutexInstanceGuard()
{
    release();
}

bool MutexInstanceGuard::claim()
{
    HANDLE mutex = CreateMutexW(nullptr, FALSE, reinterpret_cast<const wchar_t*>(name_.utf16()));
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

void MutexInstanceGuard::release()
{
    if (mutex_)
        CloseHandle(static_cast<HANDLE>(mutex_));
    mutex_ = nullptr;
}
