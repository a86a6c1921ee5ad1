#pragma once

#include "services/Services.h"
#include "web/modHelp.h"

#include <QPointer>
#include <QWidget>

#include <vector>

class Form;
class frmStartup;
class frmMain;
class frmExitScreen;

// The program's windows, each a single instance created on first use. Asking for a window loads it
// (running its load handler); unloading runs its unload handler at most once and destroys it.
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
