#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The settings store's file on Linux: an INI file that QSettings parses and writes, on a private copy. The
// program itself reads the file and puts the result in place, so that nothing but a regular file is ever
// read or replaced, nothing is opened in a way that can block, and a failed write leaves the old file whole.
namespace SettingsFile {

// Largest file taken for the store's own: it holds one short value.
constexpr qsizetype MaxBytes = 4096;

// <user's configuration folder>/<name>/<name>.ini, where QSettings keeps an application's values.
QString path(const QString& applicationName);

// The value QSettings reads for key in group "Settings"; "" when there is none. Nothing when the file is
// not the store's own: anything but a regular file (a FIFO, a device, a folder, a link to one of those or to
// nothing), larger than MaxBytes, unreadable, not UTF-8, one QSettings finds malformed, or one where setting
// key would change anything else QSettings reads from it.
std::optional<QString> value(const QString& path, const QString& key);

// Sets key in group "Settings" to value, keeping every other group, key and value QSettings reads. False,
// with the file left byte for byte as it was, when the file is not the store's own, the result would be
// larger than MaxBytes, or the write failed.
bool setValue(const QString& path, const QString& key, const QString& value);

} // namespace SettingsFile
