// The settings store's file against QSettings itself, on arbitrary texts: the value the store reads is the
// one QSettings reads; a write leaves exactly what QSettings writes, and only where that keeps every other
// key and the bound; otherwise the file stays byte for byte.

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
QString folder()
{
    const QString shm = QStringLiteral("/dev/shm");
    static const QTemporaryDir dir((QDir(shm).exists() ? shm : QDir::tempPath()) +
                                   QStringLiteral("/fuzz_settings_file-XXXXXX"));
    return dir.path();
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct QtSide
{
    QString value;
    QVariantMap others;
    bool wellFormed;
    QByteArray written; // with the key set
};

// What QSettings reads from the text and writes with key set to value, on a path it has not seen.
QtSide qt(const QByteArray& text, const QString& key, const QString& value)
{
    static int count = 0;
    const QString path = folder() + QStringLiteral("/qt-%1.ini").arg(++count);
    QFile file(path);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size(), "cannot write");
    file.close();
    QtSide seen;
    {
        QSettings settings(path, QSettings::IniFormat);
        const QStringList keys = settings.allKeys();
        for (const QString& k : keys) {
            if (!k.isEmpty())
                seen.others.insert(k, settings.value(k));
        }
        seen.value = seen.others.take(key).toString();
        seen.wellFormed = settings.status() == QSettings::NoError;
        settings.setValue(key, value);
    }
    seen.written = readAll(path);
    QFile::remove(path);
    return seen;
}

} // namespace

// The store's reads make their trial in the runtime folder: here the fuzzer's own, in memory.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder()));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    static const std::array<QString, 4> values = {ShiftEncode(QStringLiteral("12/31/2029")), QString(),
                                                  QStringLiteral("@Size(1 2)"),
                                                  QStringLiteral(" a;b, \"c\" ")};
    const QString value = values[in.byte() % values.size()];
    const std::uint8_t pad = in.byte();
    QByteArray text(reinterpret_cast<const char*>(in.rest()), static_cast<qsizetype>(in.remaining()));
    // A few inputs grow to either side of the bound, where the store's own line decides whether a write fits.
    if (pad >= 240)
        text += "\nNote=" + QByteArray(SettingsFile::MaxBytes - 60 + (pad - 240) * 8 - text.size(), 'x');
    const QString key = ShiftEncode(QStringLiteral("Duration"));
    const QString store = folder() + QStringLiteral("/store.ini");
    QFile file(store);
    FUZZ_REQUIRE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size(), "cannot write");
    file.close();

    const QtSide before = qt(text, QStringLiteral("Settings/") + key, value);
    const QtSide after = qt(before.written, QStringLiteral("Settings/") + key, value);
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(text);
    const bool qtKeeps = !utf8.hasError() && text.size() <= SettingsFile::MaxBytes &&
                         (before.wellFormed || text.startsWith("\xef\xbb\xbf")) &&
                         before.written.size() <= SettingsFile::MaxBytes && after.value == value &&
                         after.others == before.others;

    const std::optional<QString> read = SettingsFile::value(store, key);
    FUZZ_REQUIRE(!read || *read == before.value, "read a value QSettings does not");
    const bool wrote = SettingsFile::setValue(store, key, value);
    FUZZ_REQUIRE(wrote == qtKeeps, "wrote %d where QSettings keeps %d", wrote, qtKeeps);
    FUZZ_REQUIRE(readAll(store) == (wrote ? before.written : text), "the file is not what QSettings writes");
    FUZZ_REQUIRE(!wrote || (read && SettingsFile::value(store, key) == value), "the file was not read");
    return 0;
}
