#pragma once

#include "Services.h"

class SystemClock : public Clock
{
public:
    QDate today() override;
};
