#include "CodePage.h"

#include <array>

namespace {

// Unicode of the bytes 0x80-0x9F. 0x81, 0x8D, 0x8F, 0x90 and 0x9D are unassigned in Windows-1252 and map
// to the C1 control of the same value, as Windows and ICU do.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

namespace CodePage {

int toByte(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (std::size_t i = 0; i < HighControls.size(); ++i) {
        if (HighControls[i] == u)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

QChar fromByte(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(HighControls[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

QString decode(const char* data, qsizetype size)
{
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = fromByte(static_cast<unsigned char>(data[i]));
    return out;
}

} // namespace CodePage
