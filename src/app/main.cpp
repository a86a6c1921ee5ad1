#include "common/AppInfo.h"
#include "services/DesktopBrowserService.h"
#include "services/ImmediateProcessExit.h"
#include "services/OpenFileDialogService.h"
#include "services/QtMessageService.h"
#include "services/SettingsStore.h"
#include "services/SystemClock.h"
#include "services/SystemRandomSource.h"
#include "shell/Forms.h"
#include "window/Accessibility.h"
#include "window/AppIcon.h"
#include "window/AppStyle.h"
#include "window/WidgetSetup.h"
#ifdef Q_OS_WIN
#include "services/MutexInstanceGuard.h"
using PlatformInstanceGuard = MutexInstanceGuard;
#else
#include "services/BaseDirs.h"
#include "services/LockFileInstanceGuard.h"
using PlatformInstanceGuard = LockFileInstanceGuard;
#endif

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

const char* programPath = "";
QtMessageHandler qtMessages = nullptr;

void sayNoDisplay()
{
    std::fprintf(stderr,
                 "QZ Name Compatibility needs a graphical display, and none was found.\n"
                 "Start it from a desktop session, or under a virtual X server:\n"
                 "    xvfb-run -a %s\n",
                 programPath);
}

// Without a display Qt would abort with a message about platform plugins; say what to do instead.
bool hasDisplay()
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    auto set = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
#else
    return true;
#endif
}

// Installed while the application object is made. When no display answered (a DISPLAY naming no server, a
// WAYLAND_DISPLAY naming no compositor), Qt's platform plugin says so before the fatal error that follows:
// that error is said as without a display. Any other (a plugin missing or failing to load) keeps Qt's words.
void noDisplayAnswered(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
#if defined(Q_OS_LINUX) || defined(Q_OS_FREEBSD)
    static bool displayUnanswered = false;
    if (message.startsWith(QLatin1String("could not connect to display")) ||
        message.startsWith(QLatin1String("Failed to create wl_display")))
        displayUnanswered = true;
    if (type == QtFatalMsg && displayUnanswered) {
        sayNoDisplay();
        std::_Exit(2);
    }
#endif
    qtMessages(type, context, message);
}

} // namespace

int main(int argc, char* argv[])
{
    programPath = argv[0];
    if (!hasDisplay()) {
        sayNoDisplay();
        return 2;
    }
#ifndef Q_OS_WIN
    // Before Qt reads them, as Qt makes the runtime folder while the application object is made.
    BaseDirs::dropRelative();
#endif
    // The program takes no command line of its own; QApplication keeps only Qt's options.
    qtMessages = qInstallMessageHandler(noDisplayAnswered);
    QApplication app(argc, argv);
    qInstallMessageHandler(qtMessages);
    Accessibility::install();
    QApplication::setStyle(new AppStyle);
    // The program ends only through EndProgram, never because its last visible window closed.
    app.setQuitOnLastWindowClosed(false);
    app.setWindowIcon(appIcon());
    // Menus, buttons and message boxes too keep a sans-serif face where the desktop's font is missing.
    QApplication::setFont(WidgetSetup::withStandIns(QApplication::font()));

    QtMessageService messages;
    OpenFileDialogService files;
    DesktopBrowserService browser;
    const QString name = AppInfo::applicationName(QCoreApplication::applicationFilePath());
    SettingsStore settings(name);
    PlatformInstanceGuard instance(name);
    SystemClock clock;
    SystemRandomSource random;
    ImmediateProcessExit process;
    Forms forms({messages, files, browser, settings, instance, clock, random, process});

    forms.start();
    return app.exec();
}
