#include "SettingsFile.h"

#include "BaseDirs.h"
#include "common/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QVariantMap>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace SettingsFile {

namespace {

// The file a write replaces: through a link, the file it points to.
QString targetOf(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
}

// The private folder beside the file in which a write lets QSettings work and makes the new file:
// <file>.tmp-XXXXXX. The pattern also names what a killed write left, which the next write removes.
QString scratchPattern(const QString& target)
{
    return target + QStringLiteral(".tmp-XXXXXX");
}

void removeLeftovers(const QString& target)
{
    const QString pattern = QFileInfo(scratchPattern(target)).fileName();
    const QString prefix = pattern.chopped(6);
    const QFileInfoList found = QFileInfo(target).dir().entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                                      QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo& entry : found) {
        if (!entry.fileName().startsWith(prefix) || entry.fileName().size() != pattern.size())
            continue;
        if (entry.isDir() && !entry.isSymLink())
            QDir(entry.filePath()).removeRecursively();
        else
            QFile::remove(entry.filePath());
    }
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

bool isUtf8(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString decoded = utf8(bytes); // the decoder is lazy: only the conversion sets hasError
    return !utf8.hasError();
}

// Every key QSettings reads but one, with its value.
QVariantMap othersThan(const QSettings& settings, const QString& key)
{
    QVariantMap values;
    const QStringList keys = settings.allKeys();
    for (const QString& k : keys) {
        if (k != key && !k.isEmpty()) // QSettings lists an empty key ("=x" in [General]) but reads none
            values.insert(k, settings.value(k));
    }
    return values;
}

struct Edit
{
    QString before;   // the value QSettings read for the key
    QByteArray after; // the file as QSettings writes it with the key set
};

// Lets QSettings read a copy of the file and write it with key set to value (to what it held, for a
// trial), then checks that what it wrote reads back with the key set and every other value unchanged.
std::optional<Edit> edit(const QTemporaryDir& scratch, const QByteArray& ini, const QString& key,
                         const std::optional<QString>& value)
{
    if (!isUtf8(ini))
        return std::nullopt;
    const QString ours = QStringLiteral("Settings/") + key;
    // Two paths: QSettings keeps what it parsed per path, and the check must parse the written bytes.
    const QString given = scratch.filePath(QStringLiteral("given.ini"));
    const QString written = scratch.filePath(QStringLiteral("written.ini"));
    Edit edit;
    QVariantMap others;
    QString wanted;
    {
        if (!writeFile(given, ini))
            return std::nullopt;
        QSettings settings(given, QSettings::IniFormat);
        edit.before = settings.value(ours).toString();
        others = othersThan(settings, ours);
        // Lines QSettings cannot parse it drops when it writes: such a file is not the store's own. Qt 6.4
        // reads a file that starts with a byte order mark whole, but may report it as malformed.
        if (settings.status() != QSettings::NoError && !ini.startsWith("\xef\xbb\xbf"))
            return std::nullopt;
        wanted = value.value_or(edit.before);
        settings.setValue(ours, wanted);
        settings.sync();
        if (settings.status() == QSettings::AccessError)
            return std::nullopt;
    }
    QFile result(given);
    if (!result.open(QIODevice::ReadOnly))
        return std::nullopt;
    edit.after = result.readAll();
    // What is written must be what the next start reads.
    if ((value && edit.after.size() > MaxBytes) || !writeFile(written, edit.after))
        return std::nullopt;
    const QSettings check(written, QSettings::IniFormat);
    if (check.value(ours) != QVariant(wanted) || othersThan(check, ours) != others)
        return std::nullopt;
    return edit;
}

// Replaces the file by bytes: written and synced in the scratch folder, then renamed over it, so that a
// failed write leaves the old file whole.
bool replace(const QString& target, const QTemporaryDir& scratch, const QByteArray& bytes)
{
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old = {};
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    // A read-only file stays as it is, as QSettings leaves it.
    if (replacing && ::access(targetName.constData(), W_OK) != 0)
        return false;
    const QByteArray tempName = QFile::encodeName(scratch.filePath(QStringLiteral("new.ini")));
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    bool ok = !replacing || ::fchmod(fd, old.st_mode & 07777) == 0;
    for (qsizetype done = 0; ok && done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += n;
    }
    // A disk that fills up may say so only here, when the data goes out.
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(tempName.constData(), targetName.constData()) == 0;
    if (!ok)
        return false;
    // The new name lasts through a crash only once the folder is on the disk too.
    const int folder =
        ::open(QFile::encodeName(QFileInfo(target).path()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ok = folder >= 0 && ::fsync(folder) == 0;
    if (folder >= 0)
        ::close(folder);
    return ok;
}

// The file's bytes; empty when there is no file. Nothing when the path holds anything but a regular file,
// one larger than MaxBytes, or one that cannot be read.
std::optional<QByteArray> read(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(name.constData(), &info) != 0) {
        // Nothing stored yet; but a link to nothing is no missing file: a write would create its target.
        const bool noFile = errno == ENOENT && ::lstat(name.constData(), &info) != 0 && errno == ENOENT;
        return noFile ? std::optional<QByteArray>(QByteArray()) : std::nullopt;
    }
    QFile file;
    if (!RegularFile::open(file, path))
        return std::nullopt;
    // One byte beyond the limit tells a file too large from one just within it.
    const QByteArray bytes = file.read(MaxBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxBytes)
        return std::nullopt;
    return bytes;
}

} // namespace

QString path(const QString& applicationName)
{
    return BaseDirs::configHome() + u'/' + applicationName + u'/' + applicationName + QStringLiteral(".ini");
}

std::optional<QString> value(const QString& path, const QString& key)
{
    const std::optional<QByteArray> ini = read(path);
    if (!ini || ini->isEmpty())
        return ini ? std::optional<QString>(QString()) : std::nullopt;
    // Not beside the file, which may be on a full disk, and in the runtime folder, in memory on most
    // systems: QSettings syncs what it writes, and a start would wait for the disk.
    const QFileInfo runtime(BaseDirs::runtimeDir());
    const bool inMemory = !runtime.filePath().isEmpty() && runtime.isDir() && runtime.isWritable();
    const QTemporaryDir scratch((inMemory ? runtime.filePath() : QDir::tempPath()) +
                                QStringLiteral("/settings-XXXXXX"));
    const std::optional<Edit> edited =
        scratch.isValid() ? edit(scratch, *ini, key, std::nullopt) : std::nullopt;
    return edited ? std::optional<QString>(edited->before) : std::nullopt;
}

bool setValue(const QString& path, const QString& key, const QString& value)
{
    const QString target = targetOf(path);
    if (!QDir().mkpath(QFileInfo(target).path()))
        return false;
    removeLeftovers(target);
    const std::optional<QByteArray> ini = read(path);
    if (!ini)
        return false;
    const QTemporaryDir scratch(scratchPattern(target));
    const std::optional<Edit> edited = scratch.isValid() ? edit(scratch, *ini, key, value) : std::nullopt;
    return edited && replace(target, scratch, edited->after);
}

} // namespace SettingsFile
