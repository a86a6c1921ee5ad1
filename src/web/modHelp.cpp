#include "modHelp.h"

#include "PageUrls.h"
#include "services/Services.h"

void modHelp::OpenWebPage(const QString& url)
{
    browser_.open(url);
}

void modHelp::OpenHomePage()
{
    OpenWebPage(QLatin1String(PageUrls::HomePage));
}
void modHelp::OpenHelpPage()
{
    OpenWebPage(QLatin1String(PageUrls::HelpPage));
}
void modHelp::OpenDownloadPage()
{
    OpenWebPage(QLatin1String(PageUrls::DownloadPage));
}
void modHelp::OpenDonatePage()
{
    OpenWebPage(QLatin1String(PageUrls::DonatePage));
}
void modHelp::OpenCoBrandPage()
{
    OpenWebPage(QLatin1String(PageUrls::CoBrandPage));
}
void modHelp::OpenFullyBrandedPage()
{
    OpenWebPage(QLatin1String(PageUrls::FullyBrandedPage));
}
void modHelp::OpenSoftwaresPage()
{
    OpenWebPage(QLatin1String(PageUrls::SoftwaresPage));
}
