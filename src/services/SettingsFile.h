#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <optional>

// The settings store's file on Linux: an INI file as QSettings writes it, one section "Settings" of
// "key=value" lines, keys escaped as QSettings escapes them. Nothing but that file, a regular one, is ever
// read or replaced, and nothing is opened in a way that can block.
namespace SettingsFile {

// Largest file taken for the store's own: it holds one short value.
constexpr qsizetype MaxBytes = 4096;

// <user's configuration folder>/<name>/<name>.ini, where QSettings keeps an application's values.
QString path(const QString& applicationName);

// The file's bytes; empty when there is no file. Nothing when the path holds anything but a regular file
// (a FIFO, a device, a folder, a link to one of those or to nothing), one larger than MaxBytes, or one
// that cannot be read.
std::optional<QByteArray> read(const QString& path);

// Whether QSettings writes value as it stands, neither quoted nor escaped, and so reads it back as is.
bool isPlain(QStringView value);

// The value of key in an INI text; "" when there is none. Nothing when the text is not what the store
// writes: not UTF-8, another section, a quoted or escaped value, a line that is not "key=value".
std::optional<QString> value(QByteArrayView ini, const QString& key);

// The INI text with key set to value; nothing when the text is not the store's or value is not plain.
std::optional<QByteArray> withValue(QByteArrayView ini, const QString& key, const QString& value);

// Replaces the file (through a link, the file it points to) by bytes: written and synced beside it, then
// renamed over it, so that a failed write leaves the old file whole. False when anything failed.
bool replace(const QString& path, const QByteArray& bytes);

} // namespace SettingsFile
