#pragma once

#include <QString>

#include <array>

// The promotional wording of the program's windows.
namespace PromoTexts {

// The maker's discussion board.
inline QString forumAddress()
{
    return QStringLiteral("www.qz-friends-forum.example");
}

inline QString banner()
{
    return QStringLiteral("Join our free discussion board: ") + forumAddress();
}

inline QString fullBrandOffer()
{
    return QStringLiteral(
        "Home Business Opportunity. Start your own Internet business and make money online. "
        "Get this software fully branded for your website. Click here for more details.");
}

inline QString coBrandOffer()
{
    return QStringLiteral("Co-brand this software for your site.  Increase loyalty and traffic to your site. "
                          "Put your site's name &  link here. See \"Help\" for details.    "
                          "Click Here for more info on co-branding.");
}

inline QString aboutDescription()
{
    return QStringLiteral(
        "QZ Name Compatibility is a form of divination technique that gives the compatibility "
        "between names of two people. You can use this method to know how well you get along "
        "with your partner. All rights to this software are held by its maker, Kelpan "
        "Softwares.");
}

inline QString aboutOffer()
{
    return QStringLiteral(
        "Home Business Opportunity. Start your own Internet business and make money online. "
        "Get this software fully branded for your website.");
}

// The exit screen's four captions, one drawn each run.
inline std::array<QString, 4> exitCaptions()
{
    const QString site = forumAddress();
    return {
        QStringLiteral(
            "Programs like this one are made and kept alive only with your support. The best way to "
            "support them is to visit %1 often and join the discussions and other activities on the "
            "board.")
            .arg(site),
        QStringLiteral(
            "Please visit %1 often and support it by joining its discussions and activities. Without "
            "your visits these programs cannot be supported and kept up to date.")
            .arg(site),
        QStringLiteral(
            "%1 is a free online discussion forum. Help it develop and maintain this program: visit "
            "it regularly.")
            .arg(site),
        QStringLiteral(
            "%1 needs your help: visit it regularly and take part in its discussions and activities, "
            "to help maintain it and to develop more programs of this family.")
            .arg(site),
    };
}

inline QString forumInvitation()
{
    return QStringLiteral("Click here to visit %1 now").arg(forumAddress());
}

inline QString familyParagraph()
{
    return QStringLiteral(
        "If you enjoyed this program, you will like the other programs of its family: "
        "astrology, psychic, tarot, numerology and occult. They are all simple to use, fun and "
        "informative. Try them, and share them with your friends and family.");
}

} // namespace PromoTexts
