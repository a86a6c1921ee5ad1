#include "NameCheck.h"

#include "common/AppInfo.h"
#include "common/Text.h"
#include "reading/NameRules.h"

#include <algorithm>

namespace NameCheck {

Problem prepare(QStringView raw, QString& normalized)
{
    if (raw.size() > AppInfo::MaxNameLength)
        return Problem::TooLong;
    const bool ascii = std::all_of(raw.begin(), raw.end(), [](QChar c) { return c.unicode() < 0x80; });
    if (!ascii) {
        const QString text = raw.toString();
        if (NameRules::isBlank(text))
            return Problem::Blank;
        // Upper-casing is one character for one: the length checked above is the length read.
        normalized = NameRules::normalize(text);
        return Problem::None;
    }
    const QStringView name = Text::spaceTrimmed(raw);
    if (name.isEmpty())
        return Problem::Blank;
    normalized.resize(name.size());
    QChar* out = normalized.data();
    for (const QChar ch : name) {
        const char16_t c = ch.unicode();
        *out++ = QChar(c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - (u'a' - u'A')) : c);
    }
    return Problem::None;
}

QString describe(Problem problem, const QString& whose)
{
    switch (problem) {
    case Problem::None:
        break;
    case Problem::Blank:
        return whose + QStringLiteral(" is empty or only spaces");
    case Problem::TooLong:
        return whose + QStringLiteral(" is longer than %1 characters").arg(AppInfo::MaxNameLength);
    }
    return {};
}

} // namespace NameCheck
