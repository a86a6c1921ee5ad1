#include "NameRules.h"

#include "common/Text.h"

namespace NameRules {

QString normalize(const QString& boxText)
{
    // QString::toUpper applies the full mappings, under which some letters grow ("\u00df" to "SS").
    QString name = Text::trimSpaces(boxText);
    QChar* units = name.data();
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (units[i].isHighSurrogate() && i + 1 < name.size() && units[i + 1].isLowSurrogate()) {
            const char32_t upper = QChar::toUpper(QChar::surrogateToUcs4(units[i], units[i + 1]));
            if (QChar::requiresSurrogates(upper)) {
                units[i] = QChar(QChar::highSurrogate(upper));
                units[i + 1] = QChar(QChar::lowSurrogate(upper));
            }
            ++i;
        } else if (!units[i].isSurrogate()) {
            const char32_t upper = QChar::toUpper(char32_t(units[i].unicode()));
            if (!QChar::requiresSurrogates(upper))
                units[i] = QChar(static_cast<char16_t>(upper));
        }
    }
    return name;
}

bool isBlank(const QString& boxText)
{
    return Text::trimSpaces(boxText).isEmpty();
}

} // namespace NameRules
