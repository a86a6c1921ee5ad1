#pragma once

// Recording stand-ins for the platform services, for tests that drive the real windows.

#include "services/Services.h"
#include "services/SettingsStore.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QList>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <optional>

class FakeMessages : public MessageService
{
public:
    enum class Kind
    {
        Error,
        Information,
        Question,
    };
    struct Shown
    {
        Kind kind;
        QString text;
    };

    void error(QWidget*, const QString& text) override { record(Kind::Error, text); }
    void information(QWidget*, const QString& text) override { record(Kind::Information, text); }
    bool askYesNo(QWidget*, const QString& text) override
    {
        record(Kind::Question, text);
        return answerYes;
    }

    QStringList texts() const
    {
        QStringList out;
        for (const Shown& s : shown)
            out << s.text;
        return out;
    }
    void clear() { shown.clear(); }

    QList<Shown> shown;
    bool answerYes = false;
    // Runs while the box would be open: what happens meanwhile (focus, other calls) is visible to tests.
    std::function<void(const Shown&)> onShow;

private:
    void record(Kind kind, const QString& text)
    {
        shown.append({kind, text});
        if (onShow)
            onShow(shown.constLast());
    }
};

class FakeFileDialog : public FileDialogService
{
public:
    std::optional<QString> openFile(QWidget*, const OpenFileRequest& request) override
    {
        requests.append(request);
        return nextPath;
    }

    std::optional<QString> nextPath; // nothing: the user cancels
    QList<OpenFileRequest> requests;
};

class FakeBrowser : public BrowserService
{
public:
    void open(const QString& url) override
    {
        opened.append(url);
        if (onOpen)
            onOpen(url);
    }
    QStringList opened;
    std::function<void(const QString&)> onOpen;
};

class FakeInstanceGuard : public InstanceGuard
{
public:
    bool claim() override
    {
        ++claims;
        return onlyCopy;
    }
    void release() override { ++releases; }
    bool onlyCopy = true;
    int claims = 0;
    int releases = 0;
};

class FakeClock : public Clock
{
public:
    QDate today() override { return date; }
    QDate date{2024, 3, 10};
};

// Hands out scripted values in order; once they run out it repeats the last (or 0).
class FakeRandom : public RandomSource
{
public:
    void seedFromClock() override { ++seeds; }
    float next() override
    {
        ++draws;
        if (values.empty())
            return last;
        last = values.front();
        values.pop_front();
        return last;
    }
    std::deque<float> values;
    float last = 0.0f;
    int seeds = 0;
    int draws = 0;
};

// Records the end of the process and returns, so a test can look at what is left afterwards.
class FakeProcessExit : public ProcessExit
{
public:
    void terminate() override
    {
        ++calls;
        if (onTerminate)
            onTerminate();
    }
    int calls = 0;
    std::function<void()> onTerminate;
};

// A full set of fakes around a real settings store. Each fixture gets its own application name, so
// the values of one test never reach another (QSettings also keeps a per-process cache per file).
class FakeServices
{
public:
    explicit FakeServices(const QString& applicationName = nextApplicationName())
        : appName(applicationName), settings(appName)
    {
    }
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    Services services() { return {messages, files, browser, settings, instance, clock, random, process}; }

    // Unique across test programs too: on Windows they all share the user's registry.
    static QString nextApplicationName()
    {
        static int counter = 0;
        return applicationNamePrefix() + QString::number(++counter);
    }
    static QString applicationNamePrefix()
    {
        static const QString prefix =
            QStringLiteral("QZTestApp%1-").arg(QDateTime::currentMSecsSinceEpoch(), 0, 36);
        return prefix;
    }

    FakeMessages messages;
    FakeFileDialog files;
    FakeBrowser browser;
    QString appName;
    SettingsStore settings;
    FakeInstanceGuard instance;
    FakeClock clock;
    FakeRandom random;
    FakeProcessExit process;
};

// Moves the per-user settings folder, for the program's store and for QSettings, while it lives.
class SettingsFolderAt
{
public:
    explicit SettingsFolderAt(const QString& path) : previous_(qgetenv("XDG_CONFIG_HOME")) { moveTo(path); }
    ~SettingsFolderAt() { moveTo(QFile::decodeName(previous_)); }
    SettingsFolderAt(const SettingsFolderAt&) = delete;
    SettingsFolderAt& operator=(const SettingsFolderAt&) = delete;

private:
    static void moveTo(const QString& path)
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(path));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
    }
    QByteArray previous_;
};

// The store's INI file for an application name, where QSettings too finds it.
inline QString settingsFile(const QString& app)
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, app, app).fileName();
}

// A fresh temporary settings folder for the whole test program, so a run never sees the values of an
// earlier run.
class TemporarySettingsFolder
{
public:
    QString path() const { return dir.path(); }
#ifdef Q_OS_WIN
    // On Windows the store is the registry: what this test program wrote there goes with the folder.
    ~TemporarySettingsFolder()
    {
        QSettings software(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat);
        for (const QString& group : software.childGroups()) {
            if (group.startsWith(FakeServices::applicationNamePrefix()))
                software.remove(group);
        }
    }
#endif

private:
    QTemporaryDir dir;
    SettingsFolderAt at{dir.path()};
};
