#include "NameRules.h"

#include "common/Text.h"

namespace NameRules {

QString normalize(const QString& boxText)
{
    return Text::trimSpaces(boxText.toUpper());
}

bool isBlank(const QString& boxText)
{
    return Text::trimSpaces(boxText).isEmpty();
}

} // namespace NameRules
