#include "SettingsStore.h"

#include "reading/ShiftCodec.h"

#include <utility>

#ifdef Q_OS_WIN

#include <QSettings>

namespace {

// The user's own values in the per-user registry (HKEY_CURRENT_USER\Software\<name>): without fallbacks a
// missing value reads as empty, never as one found under HKEY_LOCAL_MACHINE.
class UserSettings : public QSettings
{
public:
    explicit UserSettings(const QString& app)
        : QSettings(QSettings::NativeFormat, QSettings::UserScope, app, app)
    {
        setFallbacksEnabled(false);
        beginGroup(QStringLiteral("Settings"));
    }
};

std::optional<QString> readStored(const QString& app, const QString& key)
{
    UserSettings settings(app);
    if (settings.status() != QSettings::NoError)
        return std::nullopt;
    return settings.value(key, QString()).toString();
}

bool writeStored(const QString& app, const QString& key, const QString& value)
{
    UserSettings settings(app);
    settings.setValue(key, value);
    settings.sync();
    return settings.status() == QSettings::NoError;
}

} // namespace

#else

#include "SettingsFile.h"

namespace {

// An INI file in the user's configuration folder ($XDG_CONFIG_HOME), read and replaced by the program
// itself: QSettings would open a FIFO and wait, replace a device or a link's target, and report a failed
// final write on a full disk as done. QSettings parses and writes a private copy.
std::optional<QString> readStored(const QString& app, const QString& key)
{
    return SettingsFile::value(SettingsFile::path(app), key);
}

bool writeStored(const QString& app, const QString& key, const QString& value)
{
    return SettingsFile::setValue(SettingsFile::path(app), key, value);
}

} // namespace

#endif

SettingsStore::SettingsStore(QString applicationName) : applicationName_(std::move(applicationName)) {}

bool SettingsStore::keeps(const QString& value)
{
    return ShiftDecode(ShiftEncode(value)) == value;
}

std::optional<QString> SettingsStore::ReadSetting(const QString& key) const
{
    const std::optional<QString> stored = readStored(applicationName_, ShiftEncode(key));
    return stored ? std::optional<QString>(ShiftDecode(*stored)) : std::nullopt;
}

bool SettingsStore::WriteSetting(const QString& key, const QString& value)
{
    return writeStored(applicationName_, ShiftEncode(key), ShiftEncode(value));
}
