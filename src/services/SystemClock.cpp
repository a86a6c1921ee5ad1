#include "SystemClock.h"

QDate SystemClock::today()
{
    return QDate::currentDate();
}
