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
#include "services/LockFileInstanceGuard.h"
using PlatformInstanceGuard = LockFileInstanceGuard;
#endif

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

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

} // namespace

int main(int argc, char* argv[])
{
    if (!hasDisplay()) {
        std::fprintf(stderr,
                     "QZ Name Compatibility needs a graphical display, and none was found.\n"
                     "Start it from a desktop session, or under a virtual X server:\n"
                     "    xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    // The program takes no command line of its own; QApplication keeps only Qt's options.
    QApplication app(argc, argv);
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

    forms.startup();
    return app.exec();
}
