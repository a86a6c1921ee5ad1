#include "web/PageUrls.h"

#include <QTest>

class TestPageUrls : public QObject
{
    Q_OBJECT
private slots:
    void pageAddresses();
};

#define SITE "http://" QZ_SITE_HOST

void TestPageUrls::pageAddresses()
{
    const std::pair<const char*, const char*> pages[] = {
        {PageUrls::HomePage, SITE "/qz-free-name-compatibility/ssd.php?page=home-page"},
        {PageUrls::HelpPage, SITE "/qz-free-name-compatibility/ssd.php?page=help-web-page"},
        {PageUrls::DownloadPage, SITE "/qz-free-name-compatibility/ssd.php?page=download-web-page"},
        {PageUrls::DonatePage, SITE "/qz-free-name-compatibility/ssd.php?page=donate"},
        {PageUrls::CoBrandPage, SITE "/qz-free-name-compatibility/ssd.php?page=co-brand"},
        {PageUrls::FullyBrandedPage, SITE "/qz-free-name-compatibility/ssd.php?page=fully-branded"},
        {PageUrls::SoftwaresPage, SITE "/qz-free-name-compatibility/ssd.php?page=kelpansoftwares"},
        {PageUrls::ReferAFriendPage, SITE "/qz-free-name-compatibility/ssd.php?page=qzkl-refer-a-friend"},
        {PageUrls::PageBaseUrl, SITE "/qz-free-name-compatibility/"},
        {PageUrls::SiteAddress, SITE},
    };
    for (const auto& [url, expected] : pages)
        QCOMPARE(QLatin1String(url), QLatin1String(expected));
}

QTEST_APPLESS_MAIN(TestPageUrls)
#include "TestPageUrls.moc"
