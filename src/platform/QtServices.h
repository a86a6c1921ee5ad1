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

// A lock file per user and application name. A copy that was killed leaves its file behind, but the
// lock records the holder's process id, so the next start finds the holder dead and takes the lock over.
class LockFileInstanceGuard : public InstanceGuard
{
public:
    explicit LockFileInstanceGuard(QString applicationName);
    bool claim() override;

private:
    QString applicationName_;
    std::unique_ptr<QLockFile> lock_;
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
