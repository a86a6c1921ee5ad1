#include "NameCheck.h"

#include "common/AppInfo.h"
#include "reading/NameRules.h"

#include <QStringDecoder>

namespace {

// A sequence cut short at the end is an error, and a byte order mark is a character like any other.
constexpr auto Strict = QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom;

// The offset of the first byte of the first sequence that is not UTF-8, for text that failed to decode:
// fed one byte at a time, the decoder reports the error on the byte that makes a sequence invalid, and a
// sequence still open at the end is one too.
qsizetype firstBadByte(QByteArrayView bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    qsizetype sequenceStart = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const QString decoded = decoder.decode(bytes.sliced(i, 1));
        if (decoder.hasError())
            break;
        if (!decoded.isEmpty())
            sequenceStart = i + 1;
    }
    return sequenceStart;
}

} // namespace

QString NameCheck::prepare(QByteArrayView bytes, const QString& whose, QString& name)
{
    // A UTF-16 text never has more code units than its UTF-8 form has bytes.
    decoded_.resize(bytes.size());
    QStringDecoder decoder(QStringDecoder::Utf8, Strict);
    decoded_.truncate(decoder.appendToBuffer(decoded_.data(), bytes) - decoded_.constData());
    if (decoder.hasError())
        return QStringLiteral("%1 is not valid UTF-8 (byte %2)").arg(whose).arg(firstBadByte(bytes) + 1);
    if (decoded_.size() > AppInfo::MaxNameLength)
        return whose + QStringLiteral(" is longer than %1 characters").arg(AppInfo::MaxNameLength);
    // Upper-casing is one character for one: the length checked above is the length read.
    NameRules::normalize(decoded_, name);
    if (name.isEmpty())
        return whose + QStringLiteral(" is empty or only spaces");
    return {};
}

QString NameCheck::preparePair(QByteArrayView yours, QByteArrayView partners, QString& yourName,
                               QString& partnersName)
{
    QString problem = prepare(yours, QStringLiteral("your name"), yourName);
    if (problem.isEmpty())
        problem = prepare(partners, QStringLiteral("partner's name"), partnersName);
    return problem;
}
