#pragma once

#include "Services.h"

#include <QLockFile>
#include <QRandomGenerator>

#include <memory>

// The real services of the program, on Qt.

class QtMessageService : public MessageService
{
public:
    void error(QWidget* owner, const QString& text) override;
    void information(QWidget* owner, const QString& text) override;
    bool askYesNo(QWidget* owner, const QString& text) override;
};

class QtFileDialogService : public FileDialogService
{
public:
    std::optional<QString> openFile(QWidget* owner, const OpenFileRequest& request) override;
};

class DesktopBrowserService : public BrowserService
{
public:
    void open(const QString& url) override;
};

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

class SystemClock : public Clock
{
public:
    QDate today() override;
};

class SystemRandomSource : public RandomSource
{
public:
    void seedFromClock() override;
    float next() override;

private:
    QRandomGenerator generator_;
};

class ImmediateProcessExit : public ProcessExit
{
public:
    void terminate() override;
};
