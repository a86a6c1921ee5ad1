#pragma once

#include <QString>
#include <QStringView>

// The checks a name passes before a reading, the same as in the window: a name of nothing but spaces is
// refused, and so is one longer than a name box admits (upper-casing is one character for one, so the
// length before it is the length after).
namespace NameCheck {

enum class Problem
{
    None,
    Blank,
    TooLong
};

// Upper-cases and trims raw into normalized's storage with NameRules::normalize, and checks it.
Problem prepare(QStringView raw, QString& normalized);

// "your name is empty or only spaces" and the like; whose is "your name" or "partner's name".
QString describe(Problem problem, const QString& whose);

} // namespace NameCheck
