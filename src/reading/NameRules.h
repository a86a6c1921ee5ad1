#pragma once

#include <QString>

namespace NameRules {

// Keys a name box admits: A-Z, a-z, backspace and space.
constexpr bool isAllowedKey(char16_t code)
{
    return (code >= u'A' && code <= u'Z') || (code >= u'a' && code <= u'z') || code == 8 || code == u' ';
}

// A name as the reading uses it: upper-cased, then trimmed of outer spaces.
QString normalize(const QString& boxText);

// A box that holds nothing but spaces counts as empty: the reading needs a name in each box.
bool isBlank(const QString& boxText);

} // namespace NameRules
