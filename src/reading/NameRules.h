#pragma once

#include <QString>
#include <QStringView>

namespace NameRules {

// Keys a name box admits: A-Z, a-z, backspace and space.
constexpr bool isAllowedKey(char16_t code)
{
    return (code >= u'A' && code <= u'Z') || (code >= u'a' && code <= u'z') || code == 8 || code == u' ';
}

// A name as the reading uses it: upper-cased one character for one (a letter without a single
// upper-case form, such as "\u00df", stays as it is), then trimmed of outer spaces. The name never grows,
// so two names that fit the boxes fit the reading too.
QString normalize(QStringView boxText);

// The same, written into name's own storage: a caller that keeps name between calls allocates only when
// a name is longer than any before it.
void normalize(QStringView boxText, QString& name);

// A box that holds nothing but spaces counts as empty: the reading needs a name in each box.
bool isBlank(const QString& boxText);

} // namespace NameRules
