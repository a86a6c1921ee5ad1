#include "DesktopBrowserService.h"

#include <QDesktopServices>
#include <QUrl>

void DesktopBrowserService::open(const QString& url)
{
    // The addresses are already in their final form; TolerantMode keeps them as they are.
    QDesktopServices::openUrl(QUrl(url, QUrl::TolerantMode));
}
