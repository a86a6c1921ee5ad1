#include "SettingsStore.h"

#include "common/AppInfo.h"
#include "reading/ShiftCodec.h"

#include <QCoreApplication>
#include <QFile>
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

QString executableBaseName()
{
    return AppInfo::applicationName(QCoreApplication::applicationFilePath());
}

QByteArray fileContent(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

SettingsStore::SettingsStore(NameSource applicationName)
    : applicationName_(applicationName ? std::move(applicationName) : NameSource(executableBaseName))
{
}

QString SettingsStore::applicationName() const
{
    return applicationName_();
}

QString SettingsStore::fileName() const
{
    return QSettings(StoreFormat, QSettings::UserScope, applicationName(), applicationName()).fileName();
}

std::optional<QString> SettingsStore::ReadSetting(const QString& key) const
{
    const QString app = applicationName();
    QSettings settings(StoreFormat, QSettings::UserScope, app, app);
    if (settings.status() == QSettings::AccessError)
        return std::nullopt;
    // A damaged file gives FormatError: it reads as holding nothing.
    settings.beginGroup(Section);
    const QVariant stored = settings.value(ShiftEncode(key), QString());
    return ShiftDecode(stored.toString());
}

bool SettingsStore::WriteSetting(const QString& key, const QString& value)
{
    const QString app = applicationName();
    QSettings settings(StoreFormat, QSettings::UserScope, app, app);
    const QByteArray before = fileContent(settings.fileName());
    settings.beginGroup(Section);
    settings.setValue(ShiftEncode(key), ShiftEncode(value));
    settings.endGroup();
    settings.sync();
    switch (settings.status()) {
    case QSettings::NoError:
        return true;
    case QSettings::FormatError:
        // QSettings keeps the first error it meets: with a damaged file it says FormatError whatever the
        // write did, so only the file itself shows whether the write replaced it.
        return fileContent(settings.fileName()) != before;
    case QSettings::AccessError:
        break;
    }
    return false;
}
