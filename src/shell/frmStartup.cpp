#include "frmStartup.h"

#include "UpdateReminder.h"
#include "common/AppInfo.h"
#include "shell/Forms.h"
#include "web/PromoDraw.h"

frmStartup::frmStartup(Forms& forms) : QWidget(nullptr), forms_(forms)
{
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(AppInfo::title());
}

void frmStartup::Form_Load()
{
    const Services& s = forms_.services();
    if (!s.instance.claim()) {
        s.messages.information(nullptr, QStringLiteral("Application is already running"));
        forms_.EndProgram();
        return;
    }
    s.random.seedFromClock();
    UpdateReminder(s, forms_.pages()).CheckUpdateReminder();
    forms_.loadAndShowMain();
    // Never shown; hiding a window that never had a native window would create one for nothing.
    if (isVisible())
        hide();
    CoBrand_Randomize();
}

void frmStartup::Form_Unload()
{
    forms_.EndProgram();
}

void frmStartup::CoBrand_Randomize()
{
    const int intCoBrandRandomNumber = PromoDraw::coBrandNumber(forms_.services().random.next());
    forms_.showOffer(PromoDraw::stripOffer(intCoBrandRandomNumber));
}
