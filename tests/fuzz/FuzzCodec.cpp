// The text shift codec: ShiftDecode undoes ShiftEncode on codes 0-170 of the code page and ShiftEncode
// undoes ShiftDecode on codes 85-255; neither output is ever longer than its input, and anything longer
// than 32,767 characters gives "".

#include "FuzzInput.h"

#include "reading/CodePage.h"
#include "reading/ShiftCodec.h"

namespace {

QString fromBytes(const std::uint8_t* data, std::size_t size, int lowest, int highest)
{
    QString text;
    text.reserve(static_cast<qsizetype>(size));
    const int span = highest - lowest + 1;
    for (std::size_t i = 0; i < size; ++i)
        text.append(CodePage::fromByte(static_cast<unsigned char>(lowest + data[i] % span)));
    return text;
}

void checkOutput(const QString& in, const QString& out, const char* what)
{
    FUZZ_REQUIRE(out.size() <= in.size(), "%s: %lld characters from %lld", what,
                 static_cast<long long>(out.size()), static_cast<long long>(in.size()));
    if (in.size() > 32767)
        FUZZ_REQUIRE(out.isEmpty(), "%s: overlong input not refused", what);
    for (const QChar c : out)
        FUZZ_REQUIRE(CodePage::toByte(c) >= 0, "%s: U+%04X is outside the code page", what, c.unicode());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput in(data, size);
    const std::uint8_t repeat = in.byte();

    // Any UTF-16 text: characters outside the code page are dropped, nothing else happens.
    QString anyText = in.restAsUtf16();
    if (repeat > 200 && !anyText.isEmpty())
        anyText = anyText.repeated(32768 / anyText.size() + 1).left(32767 + (repeat - 200));
    checkOutput(anyText, ShiftEncode(anyText), "encode");
    checkOutput(anyText, ShiftDecode(anyText), "decode");

    const QString low = fromBytes(in.rest(), in.remaining(), 0, 170);
    const QString encoded = ShiftEncode(low);
    FUZZ_REQUIRE(encoded.size() == low.size(), "a code 0-170 was dropped by encoding");
    FUZZ_REQUIRE(ShiftDecode(encoded) == low, "decode(encode(text)) differs for codes 0-170");

    const QString high = fromBytes(in.rest(), in.remaining(), 85, 255);
    FUZZ_REQUIRE(ShiftEncode(ShiftDecode(high)) == high, "encode(decode(text)) differs for codes 85-255");

    // Every code page character once more through CodePage's own round trip.
    for (const QChar c : fromBytes(in.rest(), in.remaining(), 0, 255))
        FUZZ_REQUIRE(CodePage::fromByte(static_cast<unsigned char>(CodePage::toByte(c))) == c, "code page");
    return 0;
}
