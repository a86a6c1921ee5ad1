#pragma once

#include "Services.h"

#include <QRandomGenerator>

class SystemRandomSource : public RandomSource
{
public:
    void seedFromClock() override;
    float next() override;

private:
    QRandomGenerator generator_;
};
