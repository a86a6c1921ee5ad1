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

// The first message that applies to the two e-mail addresses, or "" when they pass.
QString emailProblem(const QString& email, const QString& friendEmail);

// The first message that applies to the name, message and friend's name, or "" when they pass.
QString fieldProblem(const Values& values);

// The refer-a-friend page with the values in its query (taf1 to taf6). Each value is percent-encoded as
// UTF-8, so "&", "#", "=", "+", "%" and line breaks arrive whole and the address stays one address.
QString address(const Values& values);

// Longest address handed to the browser. Windows' shell takes at most 2,083 characters of an address,
// every browser at least that many; a longer one would be dropped without a word.
constexpr qsizetype MaxAddressLength = 2048;

// "Please Enter Shorter Details" when the address is too long to hand to the browser, else "".
QString addressProblem(const QString& address);

} // namespace ReferAFriend
