#include "NameCheck.h"

#include "common/AppInfo.h"
#include "reading/NameRules.h"

namespace NameCheck {

Problem prepare(QStringView raw, QString& normalized)
{
    if (raw.size() > AppInfo::MaxNameLength)
        return Problem::TooLong;
    // Upper-casing is one character for one: the length checked above is the length read.
    NameRules::normalize(raw, normalized);
    return normalized.isEmpty() ? Problem::Blank : Problem::None;
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
