#include "ReferAFriend.h"

#include "common/Text.h"
#include "web/PageUrls.h"

#include <QUrl>

namespace ReferAFriend {

namespace {

// Longest address handed to the browser, counted as sent (percent-encoded). Windows' shell takes 2,083
// characters, but Wine 8's ShellExecute passes on only "http://" from 985 and crashes from about 1,000.
constexpr qsizetype MaxAddressLength = 900;

bool isUnset(const QString& value, const QString& hint)
{
    const QString trimmed = Text::trimSpaces(value);
    return trimmed.isEmpty() || trimmed == hint;
}

} // namespace

QString firstProblem(const Values& values)
{
    const QString email = Text::trimSpaces(values.email);
    const QString friendEmail = Text::trimSpaces(values.friendEmail);
    if (email == friendEmail)
        return QStringLiteral("Please Enter Distinct Email Addresses");
    if (!email.contains(u'@') || !friendEmail.contains(u'@'))
        return QStringLiteral("Please Enter Proper Email Address");
    if (!email.contains(u'.') || !friendEmail.contains(u'.'))
        return QStringLiteral("Please Enter Proper Email Address");
    if (isUnset(values.name, nameHint()))
        return QStringLiteral("Please Enter Your Name");
    if (isUnset(values.message, messageHint()))
        return QStringLiteral("Please Enter Your Message");
    if (isUnset(values.friendName, friendNameHint()))
        return QStringLiteral("Please Enter Your Friend's Name");
    if (address(values).size() > MaxAddressLength)
        return QStringLiteral("Please Enter Shorter Details");
    return {};
}

QString address(const Values& v)
{
    auto enc = [](const QString& value) { return QString::fromLatin1(QUrl::toPercentEncoding(value)); };
    return QLatin1String(PageUrls::ReferAFriendPage) + QLatin1String("&taf1=") + enc(v.name) +
           QLatin1String("&taf2=") + enc(v.email) + QLatin1String("&taf3=") + enc(v.message) +
           QLatin1String("&taf4=") + enc(v.friendName) + QLatin1String("&taf5=") + enc(v.friendEmail) +
           QLatin1String("&taf6=") + enc(QLatin1String(PageUrls::PageBaseUrl));
}

} // namespace ReferAFriend
