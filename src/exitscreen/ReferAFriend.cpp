#include "ReferAFriend.h"

#include "common/Text.h"
#include "web/PageUrls.h"

#include <QUrl>

namespace ReferAFriend {

QString emailProblem(const QString& email, const QString& friendEmail)
{
    const QString a = Text::trimSpaces(email);
    const QString b = Text::trimSpaces(friendEmail);
    if (a == b)
        return QStringLiteral("Please Enter Distinct Email Addresses");
    if (!a.contains(u'@') || !b.contains(u'@'))
        return QStringLiteral("Please Enter Proper Email Address");
    if (!a.contains(u'.') || !b.contains(u'.'))
        return QStringLiteral("Please Enter Proper Email Address");
    return {};
}

QString fieldProblem(const Values& values)
{
    const QString name = Text::trimSpaces(values.name);
    if (name.isEmpty() || name == nameHint())
        return QStringLiteral("Please Enter Your Name");
    const QString message = Text::trimSpaces(values.message);
    if (message.isEmpty() || message == messageHint())
        return QStringLiteral("Please Enter Your Message");
    const QString friendName = Text::trimSpaces(values.friendName);
    if (friendName.isEmpty() || friendName == friendNameHint())
        return QStringLiteral("Please Enter Your Friend's Name");
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

QString addressProblem(const QString& address)
{
    return address.size() > MaxAddressLength ? QStringLiteral("Please Enter Shorter Details") : QString();
}

} // namespace ReferAFriend
