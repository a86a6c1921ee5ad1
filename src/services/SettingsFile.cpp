#include "SettingsFile.h"

#include "BaseDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace SettingsFile {

namespace {

constexpr QByteArrayView SectionLine("[Settings]");

struct Entry
{
    QByteArray key; // escaped as in the file
    QByteArray value;
};

bool isKeyByte(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '.' || c == '%' || c == '\\';
}

// A key as QSettings writes it in an INI file: "/" as "\", letters, digits and "_-." as they are, any
// other character as %XX, or %UXXXX above 0xFF.
QByteArray escapedKey(const QString& key)
{
    QByteArray out;
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == u'/')
            out += '\\';
        else if (c < 0x80 && isKeyByte(char(c)) && c != u'%' && c != u'\\')
            out += char(c);
        else if (c <= 0xFF)
            out += '%' + QByteArray::number(c, 16).toUpper().rightJustified(2, '0');
        else
            out += "%U" + QByteArray::number(c, 16).toUpper().rightJustified(4, '0');
    }
    return out;
}

// The entries of the section, or nothing when the text holds anything else.
std::optional<std::vector<Entry>> entries(QByteArrayView ini)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    static_cast<void>(utf8.decode(ini));
    if (utf8.hasError())
        return std::nullopt;
    std::vector<Entry> found;
    bool inSection = false;
    for (qsizetype start = 0; start < ini.size();) {
        qsizetype end = ini.indexOf('\n', start);
        if (end < 0)
            end = ini.size();
        const QByteArrayView line = ini.sliced(start, end - start).trimmed();
        start = end + 1;
        if (line.isEmpty())
            continue;
        if (line == SectionLine) {
            inSection = true;
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inSection || equals <= 0)
            return std::nullopt;
        Entry entry{line.first(equals).trimmed().toByteArray(),
                    line.sliced(equals + 1).trimmed().toByteArray()};
        for (const char c : entry.key) {
            if (!isKeyByte(c))
                return std::nullopt;
        }
        if (!isPlain(QString::fromUtf8(entry.value)))
            return std::nullopt;
        found.push_back(std::move(entry));
    }
    return found;
}

} // namespace

QString path(const QString& applicationName)
{
    return BaseDirs::configHome() + u'/' + applicationName + u'/' + applicationName + QStringLiteral(".ini");
}

std::optional<QByteArray> read(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat info = {};
    if (::stat(name.constData(), &info) != 0) {
        // Nothing stored yet; but a link to nothing is no missing file: a write would create its target.
        const bool noFile = errno == ENOENT && ::lstat(name.constData(), &info) != 0 && errno == ENOENT;
        return noFile ? std::optional<QByteArray>(QByteArray()) : std::nullopt;
    }
    if (!S_ISREG(info.st_mode) || info.st_size > MaxBytes)
        return std::nullopt;
    // O_NONBLOCK: should a FIFO take the file's place meanwhile, the open returns and fstat refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    QByteArray bytes(MaxBytes + 1, Qt::Uninitialized);
    qsizetype got = 0;
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    while (ok && got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n >= 0;
        if (n <= 0)
            break;
        got += n;
    }
    ::close(fd);
    if (!ok || got > MaxBytes)
        return std::nullopt;
    bytes.truncate(got);
    return bytes;
}

bool isPlain(QStringView value)
{
    if (!value.isEmpty() && (value.front() == u'@' || value.front() == u' ' || value.back() == u' '))
        return false;
    for (const QChar c : value) {
        if (c.unicode() < 0x20 || QStringView(u"\"\\;,=").contains(c))
            return false;
    }
    return true;
}

std::optional<QString> value(QByteArrayView ini, const QString& key)
{
    const std::optional<std::vector<Entry>> all = entries(ini);
    if (!all)
        return std::nullopt;
    const QByteArray wanted = escapedKey(key);
    QString found;
    // QSettings too takes the last of two entries for one key.
    for (const Entry& entry : *all) {
        if (entry.key == wanted)
            found = QString::fromUtf8(entry.value);
    }
    return found;
}

std::optional<QByteArray> withValue(QByteArrayView ini, const QString& key, const QString& value)
{
    std::optional<std::vector<Entry>> all = entries(ini);
    if (!all || !isPlain(value))
        return std::nullopt;
    const QByteArray wanted = escapedKey(key);
    bool replaced = false;
    QByteArray out = SectionLine.toByteArray() + '\n';
    for (const Entry& entry : *all) {
        if (entry.key == wanted && replaced)
            continue;
        const bool ours = entry.key == wanted;
        out += entry.key + '=' + (ours ? value.toUtf8() : entry.value) + '\n';
        replaced = replaced || ours;
    }
    if (!replaced)
        out += wanted + '=' + value.toUtf8() + '\n';
    return out;
}

bool replace(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    const QString target = info.exists() ? info.canonicalFilePath() : info.absoluteFilePath();
    if (!QDir().mkpath(QFileInfo(target).path()))
        return false;
    const QByteArray targetName = QFile::encodeName(target);
    struct stat old = {};
    const bool replacing = ::stat(targetName.constData(), &old) == 0;
    // A read-only file stays as it is, as QSettings leaves it.
    if (replacing && ::access(targetName.constData(), W_OK) != 0)
        return false;
    QByteArray tempName;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 8; ++attempt) {
        tempName = targetName + '.' + QByteArray::number(QRandomGenerator::system()->generate(), 36);
        fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return false;
    }
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
        ::unlink(tempName.constData());
    return ok;
}

} // namespace SettingsFile
