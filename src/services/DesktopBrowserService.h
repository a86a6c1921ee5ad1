#pragma once

#include "Services.h"

class DesktopBrowserService : public BrowserService
{
public:
    void open(const QString& url) override;
};
