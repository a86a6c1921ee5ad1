#pragma once

#include "services/Services.h"
#include "web/modHelp.h"

#include <vector>

class Form;
class QWidget;

// The program's windows, each a single instance created on first use. Loading a window runs its load
// handler; unloading runs its unload handler at most once and destroys it. The windows never reach each
// other: each says what happened through its signals, and the registry, which creates them, connects
// those to the next step.
class Forms
{
public:
    explicit Forms(const Services& services);
    ~Forms();
    Forms(const Forms&) = delete;
    Forms& operator=(const Forms&) = delete;

    // Loads the start-up window, whose load handler is the start-up sequence.
    void start();

    // Unloads every loaded window, in the order they were loaded, then ends the process. Unload
    // handlers may call it again; a nested call finishes the work and ends the process itself.
    void EndProgram();

private:
    enum class Id
    {
        Startup,
        Main,
        ExitScreen,
    };

    struct Entry
    {
        Id id;
        Form* form;
        bool unloading;
    };

    Entry* find(Id id);
    template <typename W> W& load(Id id);
    template <typename W> W* create();
    void unload(Id id);

    // Shows the exit screen on top without activating it, loading it first if need be.
    void loadAndShowExitScreen();
    // Loads the exit screen if need be, whose load handler draws its caption and shows it for a moment,
    // then hides it; a later show finds it loaded.
    void loadAndHideExitScreen();
    // Creates the About window, shows it modally without an owner and destroys it when closed.
    void showAbout();

    Services services_;
    modHelp pages_;
    std::vector<Entry> loaded_;
};
