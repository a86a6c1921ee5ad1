#include "SettingsStore.h"

#include "common/AppInfo.h"
#include "reading/ShiftCodec.h"

#include <QCoreApplication>
#include <QSettings>

namespace {

constexpr QLatin1String Section("Settings");

// Per user: an INI file in the user's configuration folder ($XDG_CONFIG_HOME) on Linux, the per-user
// registry (HKEY_CURRENT_USER\Software) on Windows.
constexpr QSettings::Format StoreFormat =
#ifdef Q_OS_WIN
    QSettings::NativeFormat;
#else
    QSettings::IniFormat;
#endif

// The user's own values only: without fallbacks a missing value reads as empty, never as one found in
// the organisation's file, the system's folders ($XDG_CONFIG_DIRS) or HKEY_LOCAL_MACHINE.
class UserSettings : public QSettings
{
public:
    explicit UserSettings(const QString& app) : QSettings(StoreFormat, QSettings::UserScope, app, app)
    {
        setFallbacksEnabled(false);
    }
};

QString executableBaseName()
{
    return AppInfo::applicationName(QCoreApplication::applicationFilePath());
}

} // namespace

SettingsStore::SettingsStore(NameSource applicationName)
    : applicationName_(applicationName ? std::move(applicationName) : NameSource(executableBaseName))
{
}

bool SettingsStore::keeps(const QString& value)
{
    return ShiftDecode(ShiftEncode(value)) == value;
}

std::optional<QString> SettingsStore::ReadSetting(const QString& key) const
{
    UserSettings settings(applicationName_());
    if (settings.status() == QSettings::AccessError)
        return std::nullopt;
    // A damaged file gives FormatError: it reads as holding nothing.
    settings.beginGroup(Section);
    const QVariant stored = settings.value(ShiftEncode(key), QString());
    return ShiftDecode(stored.toString());
}

bool SettingsStore::WriteSetting(const QString& key, const QString& value)
{
    auto write = [&] {
        UserSettings settings(applicationName_());
        settings.beginGroup(Section);
        settings.setValue(ShiftEncode(key), ShiftEncode(value));
        settings.endGroup();
        settings.sync();
        return settings.status();
    };
    // QSettings keeps the first error it meets, here that of a damaged file it read, whatever the write did:
    // made again over what the first write left, the write reports its own outcome.
    const QSettings::Status status = write();
    return status == QSettings::NoError ||
           (status == QSettings::FormatError && write() == QSettings::NoError);
}
