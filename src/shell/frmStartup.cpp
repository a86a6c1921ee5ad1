#include "frmStartup.h"

#include "UpdateReminder.h"
#include "common/AppInfo.h"
#include "reading/frmMain.h"
#include "shell/Forms.h"
#include "web/PromoDraw.h"
#include "window/AppIcon.h"

frmStartup::frmStartup(Forms& forms) : QWidget(nullptr), forms_(forms), icon_(appIcon())
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
    forms_.main().show();
    hideWindow();
    CoBrand_Randomize();
}

void frmStartup::Form_Unload()
{
    forms_.EndProgram();
}

void frmStartup::CoBrand_Randomize()
{
    intCoBrandRandomNumber = PromoDraw::coBrandNumber(forms_.services().random.next());
    forms_.main().showOffer(PromoDraw::stripOffer(intCoBrandRandomNumber));
}
