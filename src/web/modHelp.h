#pragma once

#include <QString>

class BrowserService;

// The page procedures: each opens one constant page of the maker's site in the default browser.
class modHelp
{
public:
    explicit modHelp(BrowserService& browser) : browser_(browser) {}

    // Hands the address to the browser; a refusal is silent.
    void OpenWebPage(const QString& url);

    void OpenHomePage();
    void OpenHelpPage();
    void OpenDownloadPage();
    void OpenDonatePage();
    void OpenCoBrandPage();
    void OpenFullyBrandedPage();
    void OpenSoftwaresPage();

private:
    BrowserService& browser_;
};
