#include "UpdateReminder.h"

#include "ReminderRule.h"
#include "services/SettingsStore.h"
#include "web/modHelp.h"

#include <QLocale>

namespace {
QString durationKey()
{
    return QStringLiteral("Duration");
}
} // namespace

void UpdateReminder::CheckUpdateReminder()
{
    const std::optional<QString> stored = services_.settings.ReadSetting(durationKey());
    if (!stored)
        return;
    const QLocale locale;
    const QDate today = services_.clock.today();
    auto storeToday = [&] {
        services_.settings.WriteSetting(durationKey(),
                                        ReminderRule::dateToText(today, locale, SettingsStore::keeps));
    };
    switch (ReminderRule::decide(*stored, today, locale)) {
    case ReminderRule::Decision::FirstStart:
        storeToday();
        return;
    case ReminderRule::Decision::Quiet:
    case ReminderRule::Decision::NotADate:
        return;
    case ReminderRule::Decision::Due:
        break;
    }
    const bool yes = services_.messages.askYesNo(nullptr, ReminderRule::question());
    storeToday();
    if (yes)
        pages_.OpenDownloadPage();
}
