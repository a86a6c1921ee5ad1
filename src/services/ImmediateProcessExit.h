#pragma once

#include "Services.h"

class ImmediateProcessExit : public ProcessExit
{
public:
    void terminate() override;
};
