#include "CodePage.h"

#include <array>

#ifdef Q_OS_WIN
#include <qt_windows.h>

#include <climits>
#endif

namespace {

// Unicode of the bytes 0x80-0x9F. 0x81, 0x8D, 0x8F, 0x90 and 0x9D are unassigned in Windows-1252 and map
// to the C1 control of the same value, as Windows and ICU do.
constexpr std::array<char16_t, 32> HighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

int windows1252Byte(QChar c)
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

QChar windows1252Char(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0)
        return QChar(HighControls[byte - 0x80]);
    return QChar(static_cast<char16_t>(byte));
}

#ifdef Q_OS_WIN
// Japanese, Chinese and Korean Windows (932, 936, 949, 950) and the UTF-8 option (65001) spend two or
// more bytes on some characters, so bytes from 0x81 up have no character of their own there: the stored
// names and values would not survive. Windows-1252 serves there instead.
bool ansiIsSingleByte()
{
    static const bool single = [] {
        CPINFO info;
        return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
    }();
    return single;
}
#endif

} // namespace

namespace CodePage {

int toByte(QChar c)
{
#ifdef Q_OS_WIN
    if (ansiIsSingleByte()) {
        const wchar_t wide = static_cast<wchar_t>(c.unicode());
        char byte = 0;
        BOOL usedDefault = FALSE;
        // No best-fit mapping: a character without a byte of its own has no byte at all.
        if (WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, &wide, 1, &byte, 1, nullptr, &usedDefault) !=
                1 ||
            usedDefault)
            return -1;
        return static_cast<unsigned char>(byte);
    }
#endif
    return windows1252Byte(c);
}

QChar fromByte(unsigned char byte)
{
#ifdef Q_OS_WIN
    if (ansiIsSingleByte()) {
        const char narrow = static_cast<char>(byte);
        wchar_t wide = 0;
        if (MultiByteToWideChar(CP_ACP, 0, &narrow, 1, &wide, 1) == 1)
            return QChar(static_cast<char16_t>(wide));
    }
#endif
    return windows1252Char(byte);
}

QString decode(const char* data, qsizetype size)
{
#ifdef Q_OS_WIN
    if (ansiIsSingleByte()) {
        if (size <= 0 || size > INT_MAX)
            return {};
        const int length = MultiByteToWideChar(CP_ACP, 0, data, static_cast<int>(size), nullptr, 0);
        QString out(length, Qt::Uninitialized);
        MultiByteToWideChar(CP_ACP, 0, data, static_cast<int>(size), reinterpret_cast<wchar_t*>(out.data()),
                            length);
        return out;
    }
#endif
    QString out(size, Qt::Uninitialized);
    QChar* dst = out.data();
    for (qsizetype i = 0; i < size; ++i)
        dst[i] = windows1252Char(static_cast<unsigned char>(data[i]));
    return out;
}

} // namespace CodePage
