#include "Forms.h"

#include "exitscreen/frmExitScreen.h"
#include "reading/frmMain.h"
#include "shell/frmStartup.h"
#include "web/frmAbout.h"
#include "window/Form.h"
#include "window/TopmostWindow.h"

Forms::Forms(const Services& services) : services_(services), pages_(services.browser) {}

Forms::~Forms()
{
    for (Entry& e : loaded_)
        delete e.form;
}

Forms::Entry* Forms::find(Id id)
{
    for (Entry& e : loaded_) {
        if (e.id == id)
            return &e;
    }
    return nullptr;
}

// Each window is created with what it uses and its news connected to the step that follows.
template <> frmStartup* Forms::create();
template <> frmMain* Forms::create();
template <> frmExitScreen* Forms::create();

template <typename W> W& Forms::load(Id id)
{
    if (Entry* e = find(id))
        return *static_cast<W*>(e->form);
    W* window = create<W>();
    loaded_.push_back({id, window, false});
    window->Form_Load();
    return *window;
}

template <> frmStartup* Forms::create()
{
    auto* w = new frmStartup(services_, pages_);
    QObject::connect(w, &frmStartup::closed, w, [this] { unload(Id::Startup); });
    QObject::connect(w, &frmStartup::endRequested, w, [this] { EndProgram(); });
    // Loading the main window runs its load handler, which brings the names page to the front.
    QObject::connect(w, &frmStartup::mainWindowRequested, w, [this] { load<frmMain>(Id::Main).show(); });
    QObject::connect(w, &frmStartup::offerDrawn, w,
                     [this](StripOffer offer) { load<frmMain>(Id::Main).showOffer(offer); });
    return w;
}

template <> frmMain* Forms::create()
{
    auto* w = new frmMain(services_, pages_);
    QObject::connect(w, &frmMain::closed, w, [this] { unload(Id::Main); });
    QObject::connect(w, &frmMain::unloaded, w, [this] { loadAndShowExitScreen(); });
    QObject::connect(w, &frmMain::aboutRequested, w, [this] { showAbout(); });
    // The start-up window is never shown, so only the exit screen is hidden.
    QObject::connect(w, &frmMain::readingOpened, w, [this] { loadAndHideExitScreen(); });
    return w;
}

template <> frmExitScreen* Forms::create()
{
    // The exit screen's icon is the first image of the start-up window's list.
    auto* w = new frmExitScreen(services_, pages_, load<frmStartup>(Id::Startup).IMGIcon.first());
    QObject::connect(w, &frmExitScreen::closed, w, [this] { unload(Id::ExitScreen); });
    QObject::connect(w, &frmExitScreen::endRequested, w, [this] { EndProgram(); });
    return w;
}

void Forms::start()
{
    load<frmStartup>(Id::Startup);
}

void Forms::unload(Id id)
{
    Entry* e = find(id);
    if (!e || e->unloading)
        return;
    e->unloading = true;
    Form* form = e->form;
    form->Form_Unload();
    for (auto it = loaded_.begin(); it != loaded_.end(); ++it) {
        if (it->id == id) {
            loaded_.erase(it);
            break;
        }
    }
    auto* widget = dynamic_cast<QWidget*>(form);
    if (widget->isVisible())
        widget->hide();
    widget->deleteLater();
}

void Forms::loadAndShowExitScreen()
{
    TopmostWindow::show(&load<frmExitScreen>(Id::ExitScreen));
}

void Forms::loadAndHideExitScreen()
{
    load<frmExitScreen>(Id::ExitScreen).hide();
}

void Forms::showAbout()
{
    frmAbout about(pages_);
    about.exec();
}

void Forms::EndProgram()
{
    std::vector<Id> ids;
    for (const Entry& e : loaded_)
        ids.push_back(e.id);
    for (Id id : ids)
        unload(id);
    // The process ends without destructors: a lock left behind would outlive the program.
    services_.instance.release();
    services_.process.terminate();
}
