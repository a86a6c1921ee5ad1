#include "SystemRandomSource.h"

#include <QDateTime>

void SystemRandomSource::seedFromClock()
{
    generator_.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
}

float SystemRandomSource::next()
{
    return static_cast<float>(generator_.generate() >> 8) * (1.0f / 16777216.0f);
}
