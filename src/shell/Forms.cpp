#include "Forms.h"

#include "Form.h"
#include "exitscreen/frmExitScreen.h"
#include "reading/frmMain.h"
#include "shell/frmStartup.h"
#include "web/frmAbout.h"
#include "window/TopmostWindow.h"

Forms::Forms(const Services& services) : services_(services), pages_(services.browser) {}

Forms::~Forms()
{
    for (Entry& e : loaded_)
        delete e.widget.data();
}

Forms::Entry* Forms::find(Id id)
{
    for (Entry& e : loaded_) {
        if (e.id == id)
            return &e;
    }
    return nullptr;
}

template <typename W> W& Forms::load(Id id)
{
    if (Entry* e = find(id))
        return *static_cast<W*>(e->form);
    auto* window = new W(*this);
    loaded_.push_back({id, window, window, false});
    window->Form_Load();
    return *window;
}

frmStartup& Forms::startup()
{
    return load<frmStartup>(Id::Startup);
}
frmMain& Forms::main()
{
    return load<frmMain>(Id::Main);
}
frmExitScreen& Forms::exitScreen()
{
    return load<frmExitScreen>(Id::ExitScreen);
}

void Forms::unload(Id id)
{
    Entry* e = find(id);
    if (!e || e->unloading)
        return;
    e->unloading = true;
    Form* form = e->form;
    QPointer<QWidget> widget = e->widget;
    form->Form_Unload();
    for (auto it = loaded_.begin(); it != loaded_.end(); ++it) {
        if (it->id == id) {
            loaded_.erase(it);
            break;
        }
    }
    if (widget) {
        if (widget->isVisible())
            widget->hide();
        widget->deleteLater();
    }
}

void Forms::loadAndShowMain()
{
    main().show();
}

void Forms::showOffer(StripOffer offer)
{
    main().showOffer(offer);
}

void Forms::loadAndShowExitScreen()
{
    TopmostWindow::show(&exitScreen());
}

void Forms::loadAndHideExitScreen()
{
    exitScreen().hide();
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
