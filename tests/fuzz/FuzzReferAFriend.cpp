// The refer-a-friend checks and address on any five texts: the address always parses back, with
// QUrlQuery, to exactly the keys page, taf1 to taf6 in order and exactly the five values given.

#include "FuzzInput.h"

#include "exitscreen/ReferAFriend.h"
#include "web/PageUrls.h"

#include <QByteArray>
#include <QList>
#include <QStringDecoder>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace {

// UTF-8 to text with every character kept: QString::fromUtf8 drops a leading byte order mark, which
// would make a value that starts with U+FEFF (typed or pasted, it is an ordinary character there) look
// changed after the round trip.
QString utf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // Five texts separated by 0xFF bytes (never part of UTF-8); invalid UTF-8 becomes U+FFFD, so every
    // text is well-formed Unicode, as anything typed or pasted into a field is.
    QList<QByteArray> parts =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
            .split('\xff');
    while (parts.size() < 5)
        parts.append(QByteArray());
    ReferAFriend::Values v{utf8(parts[0]), utf8(parts[1]), utf8(parts[2]), utf8(parts[3]), utf8(parts[4])};

    (void)ReferAFriend::firstProblem(v);

    const QString address = ReferAFriend::address(v);
    FUZZ_REQUIRE(!address.contains(u'#') && !address.contains(u' ') && !address.contains(u'\n'),
                 "raw #, space or line break in the address");
    const QUrl url(address, QUrl::StrictMode);
    FUZZ_REQUIRE(url.isValid(), "invalid address: %s", qPrintable(url.errorString()));
    FUZZ_REQUIRE(url.toString(QUrl::RemoveQuery) ==
                     QLatin1String(PageUrls::PageBaseUrl) + QLatin1String("ssd.php"),
                 "address does not lead to the page");
    const QUrlQuery query(url);
    const auto items = query.queryItems(QUrl::FullyDecoded);
    const auto encodedItems = query.queryItems(QUrl::FullyEncoded);
    const QString expected[] = {
        QStringLiteral("qzkl-refer-a-friend"), v.name, v.email, v.message, v.friendName, v.friendEmail,
        QLatin1String(PageUrls::PageBaseUrl)};
    FUZZ_REQUIRE(items.size() == 7, "%lld query items", static_cast<long long>(items.size()));
    for (int i = 0; i < 7; ++i) {
        const QString key = i == 0 ? QStringLiteral("page") : QStringLiteral("taf%1").arg(i);
        FUZZ_REQUIRE(items[i].first == key, "key %d is %s", i, qPrintable(items[i].first));
        // The exact inverse of the encoding: percent-decoding, then UTF-8.
        const QString decoded = utf8(QByteArray::fromPercentEncoding(encodedItems[i].second.toLatin1()));
        FUZZ_REQUIRE(decoded == expected[i], "value of %s differs", qPrintable(key));
        // QUrl's own decoder turns the UTF-8 of noncharacters (U+FFFE, U+FFFF, U+FDD0...) into U+FFFD;
        // everything else it must give back as it was.
        const bool nonCharacter = std::any_of(expected[i].begin(), expected[i].end(), [](QChar c) {
            return c.isNonCharacter() || (c.isLowSurrogate() && (c.unicode() & 0x3FE) == 0x3FE);
        });
        if (!nonCharacter)
            FUZZ_REQUIRE(items[i].second == expected[i], "QUrlQuery decodes %s differently", qPrintable(key));
    }
    return 0;
}
