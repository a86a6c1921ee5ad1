// The settings store's file against QSettings itself, on arbitrary texts: the value the store reads is the
// one QSettings reads; a write leaves what QSettings writes, within the bound, with every other key kept, or
// leaves the file byte for byte; and a file is refused only when QSettings could not keep it either.

#include "FuzzInput.h"

#include "reading/ShiftCodec.h"
#include "services/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QVariantMap>

#include <array>

namespace {

// On a memory file system where there is one: the store syncs every file it writes.
const QTemporaryDir& folder()
{
    const QString shm = QStringLiteral("/dev/shm");
    static const QTemporaryDir dir((QDir(shm).exists() ? shm : QDir::tempPath()) +
                                   QStringLiteral("/fuzz_settings_file-XXXXXX"));
    return dir;
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size(), "cannot write %s",
                 qPrintable(path));
}

// A path QSettings has not seen: it keeps what it parsed per path.
QString freshPath()
{
    static int count = 0;
    return folder().filePath(QStringLiteral("qt-%1.ini").arg(++count));
}

struct QtView
{
    QSettings::Status status;
    QString value;
    QVariantMap others;
};

QtView parse(const QByteArray& text, const QString& key)
{
    const QString path = freshPath();
    writeAll(path, text);
    QtView view;
    {
        const QSettings settings(path, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        for (const QString& k : keys) {
            if (!k.isEmpty())
                view.others.insert(k, settings.value(k));
        }
        view.value = view.others.take(key).toString();
        view.status = settings.status();
    }
    QFile::remove(path);
    return view;
}

// What QSettings itself writes for the text with key set to value.
QByteArray qtWrite(const QByteArray& text, const QString& key, const QString& value)
{
    const QString path = freshPath();
    writeAll(path, text);
    {
        QSettings settings(path, QSettings::IniFormat);
        settings.setValue(key, value);
    }
    const QByteArray written = readAll(path);
    QFile::remove(path);
    return written;
}

// Whether QSettings, writing key as value, keeps every other value it read and reads value back.
bool qtKeeps(const QByteArray& text, const QString& key, const QString& value, const QtView& before)
{
    const QtView after = parse(qtWrite(text, key, value), key);
    return after.value == value && after.others == before.others;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    static const std::array<QString, 5> values = {
        ShiftEncode(QStringLiteral("12/31/2029")), ShiftEncode(QStringLiteral("2024-12-07")), QString(),
        QStringLiteral("@Size(1 2)"), QStringLiteral(" a;b, \"c\" ")};
    const QString value = values[in.byte() % values.size()];
    const std::uint8_t pad = in.byte();
    QByteArray text(reinterpret_cast<const char*>(in.rest()), static_cast<qsizetype>(in.remaining()));
    // A few inputs grow to either side of the bound, where the store's own line decides whether a write fits.
    if (pad >= 240)
        text += "\nNote=" + QByteArray(SettingsFile::MaxBytes - 60 + (pad - 240) * 8 - text.size(), 'x');
    const QString key = ShiftEncode(QStringLiteral("Duration"));
    const QString qtKey = QStringLiteral("Settings/") + key;
    const QString store = folder().filePath(QStringLiteral("store.ini"));
    writeAll(store, text);

    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(text);
    const QtView qt = parse(text, qtKey);
    const bool refusable = text.size() > SettingsFile::MaxBytes || utf8.hasError() ||
                           qt.status != QSettings::NoError || !qtKeeps(text, qtKey, qt.value, qt);

    const std::optional<QString> read = SettingsFile::value(store, key);
    if (read)
        FUZZ_REQUIRE(*read == qt.value, "read a value QSettings does not");
    else
        FUZZ_REQUIRE(refusable, "refused a file QSettings keeps");

    const bool wrote = SettingsFile::setValue(store, key, value);
    const QByteArray after = readAll(store);
    if (wrote) {
        FUZZ_REQUIRE(read.has_value(), "wrote a file it refused to read");
        FUZZ_REQUIRE(after == qtWrite(text, qtKey, value), "wrote other than QSettings writes");
        FUZZ_REQUIRE(after.size() <= SettingsFile::MaxBytes, "wrote %lld bytes", qlonglong(after.size()));
        const QtView written = parse(after, qtKey);
        FUZZ_REQUIRE(written.value == value && written.others == qt.others, "a value changed in the write");
        FUZZ_REQUIRE(SettingsFile::value(store, key) == value, "the next read differs");
    } else {
        FUZZ_REQUIRE(after == text, "a refused write changed the file");
        FUZZ_REQUIRE(refusable || qtWrite(text, qtKey, value).size() > SettingsFile::MaxBytes ||
                         !qtKeeps(text, qtKey, value, qt),
                     "refused a write QSettings keeps within the bound");
    }
    return 0;
}
