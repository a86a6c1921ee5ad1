#include "frmStartup.h"

#include "UpdateReminder.h"
#include "common/AppInfo.h"
#include "window/AppIcon.h"

#include <QCloseEvent>

frmStartup::frmStartup(const Services& services, modHelp& pages)
    : QWidget(nullptr), IMGIcon{appIcon()}, services_(services), pages_(pages)
{
    setObjectName(QStringLiteral("frmStartup"));
    setWindowTitle(AppInfo::title());
}

void frmStartup::Form_Load()
{
    if (!services_.instance.claim()) {
        services_.messages.information(nullptr, QStringLiteral("Application is already running"));
        emit endRequested();
        return;
    }
    services_.random.seedFromClock();
    UpdateReminder(services_, pages_).CheckUpdateReminder();
    emit mainWindowRequested();
    CoBrand_Randomize();
}

void frmStartup::Form_Unload()
{
    emit endRequested();
}

void frmStartup::closeEvent(QCloseEvent* event)
{
    event->accept();
    emit closed();
}

void frmStartup::CoBrand_Randomize()
{
    const int intCoBrandRandomNumber = PromoDraw::coBrandNumber(services_.random.next());
    emit offerDrawn(PromoDraw::stripOffer(intCoBrandRandomNumber));
}
