#pragma once

#include <QString>

#include <optional>

// The per-user store of the program's values: application = the executable's base name, section
// "Settings". Key names and values are stored scrambled with ShiftEncode. Only the user's own values
// count: nothing is read from organisation-wide or system-wide settings.
class SettingsStore
{
public:
    explicit SettingsStore(QString applicationName);

    // The decoded value; "" when nothing is stored. Nothing when the store is unusable: it cannot be read,
    // or its place holds anything but the store's own file (not UTF-8, too large, a FIFO, a device, a folder,
    // or one that a write would change beyond the key).
    std::optional<QString> ReadSetting(const QString& key) const;

    // False when the value could not be stored (unusable store, read-only folder, full disk); the value
    // stored before is then kept. Nothing is thrown.
    bool WriteSetting(const QString& key, const QString& value);

    // Whether a value reads back as written: the scrambling keeps only characters of the single-byte code
    // page, up to code 170.
    static bool keeps(const QString& value);

private:
    QString applicationName_;
};
