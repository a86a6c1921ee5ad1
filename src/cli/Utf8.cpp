#include "Utf8.h"

namespace Utf8 {

namespace {

bool isContinuation(unsigned char b)
{
    return (b & 0xC0U) == 0x80U;
}

} // namespace

qsizetype decode(QByteArrayView bytes, QString& out)
{
    // A UTF-16 text never has more code units than its UTF-8 form has bytes.
    out.resize(bytes.size());
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype written = 0;
    qsizetype i = 0;
    while (i < size) {
        const unsigned char b = src[i];
        if (b < 0x80U) {
            dst[written++] = b;
            ++i;
            continue;
        }
        // The first continuation byte has a narrower range after some lead bytes: that is what rules out
        // overlong forms, surrogates and code points above U+10FFFF.
        unsigned char low = 0x80U;
        unsigned char high = 0xBFU;
        int continuations = 0;
        char32_t code = 0;
        if (b >= 0xC2U && b <= 0xDFU) {
            continuations = 1;
            code = b & 0x1FU;
        } else if (b >= 0xE0U && b <= 0xEFU) {
            continuations = 2;
            code = b & 0x0FU;
            if (b == 0xE0U)
                low = 0xA0U;
            else if (b == 0xEDU)
                high = 0x9FU;
        } else if (b >= 0xF0U && b <= 0xF4U) {
            continuations = 3;
            code = b & 0x07U;
            if (b == 0xF0U)
                low = 0x90U;
            else if (b == 0xF4U)
                high = 0x8FU;
        } else {
            return i;
        }
        if (size - i <= continuations)
            return i;
        const unsigned char first = src[i + 1];
        if (first < low || first > high)
            return i;
        for (int k = 1; k <= continuations; ++k) {
            const unsigned char c = src[i + k];
            if (!isContinuation(c))
                return i;
            code = (code << 6) | (c & 0x3FU);
        }
        if (code >= 0x10000U) {
            code -= 0x10000U;
            dst[written++] = static_cast<char16_t>(0xD800U + (code >> 10));
            dst[written++] = static_cast<char16_t>(0xDC00U + (code & 0x3FFU));
        } else {
            dst[written++] = static_cast<char16_t>(code);
        }
        i += continuations + 1;
    }
    out.resize(written);
    return -1;
}

} // namespace Utf8
