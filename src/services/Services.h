#pragma once

#include <QDate>
#include <QString>

#include <optional>

class QWidget;
class SettingsStore;

// Everything outside the program's own logic reaches it through these interfaces, so that tests can put
// recording fakes in their place. Each has one real implementation, in a file named after its class
// (QtMessageService, OpenFileDialogService, DesktopBrowserService, SystemClock, SystemRandomSource,
// ImmediateProcessExit), one per platform for the instance guard (LockFileInstanceGuard on Linux,
// MutexInstanceGuard on Windows).

// Modal message boxes, titled with the program's title.
class MessageService
{
public:
    virtual ~MessageService() = default;
    // Error (stop) icon, a single OK button.
    virtual void error(QWidget* owner, const QString& text) = 0;
    // Information icon, a single OK button.
    virtual void information(QWidget* owner, const QString& text) = 0;
    // Information icon, Yes and No with Yes the default; true for Yes.
    virtual bool askYesNo(QWidget* owner, const QString& text) = 0;
};

struct OpenFileRequest
{
    QString title;
    QString filter;        // Qt filter syntax: "Label (*.ext)"
    QString defaultSuffix; // added when the typed name has none
};

// The open-file dialog: existing files only; nothing when the user cancels.
class FileDialogService
{
public:
    virtual ~FileDialogService() = default;
    virtual std::optional<QString> openFile(QWidget* owner, const OpenFileRequest& request) = 0;
};

// Hands an address to the default browser. A refusal is silent: nothing is reported back.
class BrowserService
{
public:
    virtual ~BrowserService() = default;
    virtual void open(const QString& url) = 0;
};

// Whether another copy of this program already runs for this user.
class InstanceGuard
{
public:
    virtual ~InstanceGuard() = default;
    // True when this copy is the only one; it then holds the claim until it releases it.
    virtual bool claim() = 0;
    // Gives up the claim, if one is held; the process ends without running destructors.
    virtual void release() = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() = 0;
};

class RandomSource
{
public:
    virtual ~RandomSource() = default;
    virtual void seedFromClock() = 0;
    // Uniform in [0, 1), in steps of 2^-24 like a single-precision generator.
    virtual float next() = 0;
};

// Ends the process at once; the real one does not return.
class ProcessExit
{
public:
    virtual ~ProcessExit() = default;
    virtual void terminate() = 0;
};

struct Services
{
    MessageService& messages;
    FileDialogService& files;
    BrowserService& browser;
    SettingsStore& settings;
    InstanceGuard& instance;
    Clock& clock;
    RandomSource& random;
    ProcessExit& process;
};
