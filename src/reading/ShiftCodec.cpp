#include "ShiftCodec.h"

#include "CodePage.h"

namespace {

constexpr qsizetype MaxLength = 32767;

QString shift(const QString& text, int delta)
{
    QString out;
    if (text.size() > MaxLength)
        return out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const int code = CodePage::toByte(c);
        if (code < 0)
            continue;
        const int shifted = code + delta;
        if (shifted >= 0 && shifted <= 255)
            out.append(CodePage::fromByte(static_cast<unsigned char>(shifted)));
    }
    return out;
}

} // namespace

QString ShiftEncode(const QString& text)
{
    return shift(text, 85);
}

QString ShiftDecode(const QString& text)
{
    return shift(text, -85);
}
