#pragma once

#include <QString>

#include <functional>
#include <optional>

// The per-user store of the program's values: application = the executable's base name (taken at every
// access), section "Settings". Key names and values are stored scrambled with ShiftEncode. Only the
// user's own values count: nothing is read from organisation-wide or system-wide settings.
class SettingsStore
{
public:
    using NameSource = std::function<QString()>;

    // By default the application name is the base name of the running executable.
    explicit SettingsStore(NameSource applicationName = {});

    // The decoded value; "" when nothing is stored (or the file is damaged); nothing when the store
    // cannot be read at all.
    std::optional<QString> ReadSetting(const QString& key) const;

    // False when the store cannot be written (read-only folder, full disk); nothing is thrown.
    bool WriteSetting(const QString& key, const QString& value);

    // Whether a value reads back as written: the scrambling keeps only characters of the single-byte code
    // page, up to code 170.
    static bool keeps(const QString& value);

private:
    NameSource applicationName_;
};
