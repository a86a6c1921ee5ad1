#pragma once

#include "services/Services.h"

class modHelp;

// At start-up, at most once every fifteen days, asks whether to look for an update.
class UpdateReminder
{
public:
    UpdateReminder(const Services& services, modHelp& pages) : services_(services), pages_(pages) {}

    void CheckUpdateReminder();

private:
    const Services& services_;
    modHelp& pages_;
};
