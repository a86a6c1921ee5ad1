#pragma once

#include "services/Services.h"
#include "web/PromoDraw.h"
#include "web/modHelp.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class Form;
class frmStartup;
class frmMain;
class frmExitScreen;

// The program's windows, each a single instance created on first use. Asking for a window loads it
// (running its load handler); unloading runs its unload handler at most once and destroys it. Windows
// reach each other only through the steps below, never directly.
class Forms
{
public:
    enum class Id
    {
        Startup,
        Main,
        ExitScreen,
    };

    explicit Forms(const Services& services);
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    const Services& services() const { return services_; }
    modHelp& pages() { return pages_; }

    frmStartup& startup();
    frmMain& main();
    frmExitScreen& exitScreen();

    void unload(Id id);

    // Loads the main window (its load handler brings the names page to the front) and shows it.
    void loadAndShowMain();
    // Brings one offer of the main window's promotional strip to the front.
    void showOffer(StripOffer offer);
    // Shows the exit screen on top without activating it, loading it first if need be.
    void loadAndShowExitScreen();
    // Loads the exit screen if need be, whose load handler draws its caption and shows it for a moment,
    // then hides it; a later show finds it loaded.
    void loadAndHideExitScreen();

    // Creates the About window, shows it modally without an owner and destroys it when closed.
    void showAbout();

    // Unloads every loaded window, in the order they were loaded, then ends the process. Unload
    // handlers may call it again; a nested call finishes the work and ends the process itself.
    void EndProgram();

private:
    struct Entry
    {
        Id id;
        Form* form;
        QPointer<QWidget> widget;
        bool unloading;
    };

    Entry* find(Id id);
    template <typename W> W& load(Id id);

    Services services_;
    modHelp pages_;
    std::vector<Entry> loaded_;
};
