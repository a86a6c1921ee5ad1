#pragma once

#include <QString>

// The refer-a-friend form: its hints, the rules of its fields and the checks and address of a submission.
namespace ReferAFriend {

inline QString nameHint()
{
    return QStringLiteral("Your Name");
}
inline QString emailHint()
{
    return QStringLiteral("Your Email Address");
}
inline QString friendNameHint()
{
    return QStringLiteral("Friend's Name");
}
inline QString friendEmailHint()
{
    return QStringLiteral("Friend's Email Address");
}
inline QString messageHint()
{
    return QStringLiteral("Your Message");
}
// The message field starts with a line break after its hint, so a first visit does not clear it.
inline QString initialMessage()
{
    return messageHint() + QStringLiteral("\r\n");
}

inline QString noSpaceMessage()
{
    return QStringLiteral("Email Address Cannot Contain Space");
}

// The five values of a press, each trimmed of outer spaces.
struct Values
{
    QString name;
    QString email;
    QString message;
    QString friendName;
    QString friendEmail;
};

// The first message that applies to a press, in the order the form checks them: the two e-mail
// addresses, the name, the message, the friend's name, then the length of the address. "" when it passes.
QString firstProblem(const Values& values);

// The refer-a-friend page with the values in its query (taf1 to taf6). Each value is percent-encoded as
// UTF-8, so "&", "#", "=", "+", "%" and line breaks arrive whole and the address stays one address.
QString address(const Values& values);

} // namespace ReferAFriend
