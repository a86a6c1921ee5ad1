#include "NameRules.h"

#include "common/Text.h"

namespace NameRules {

void normalize(QStringView boxText, QString& name)
{
    // QString::toUpper applies the full mappings, under which some letters grow ("\u00df" to "SS"): each
    // code point is mapped on its own, and one whose simple upper case needs another length stays.
    const QStringView text = Text::trimSpacesView(boxText);
    const qsizetype size = text.size();
    name.resize(size);
    const char16_t* in = text.utf16();
    QChar* out = name.data();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = in[i];
        if (!QChar::isSurrogate(unit)) {
            const char32_t upper = QChar::toUpper(char32_t{unit});
            out[i] = QChar(QChar::requiresSurrogates(upper) ? unit : static_cast<char16_t>(upper));
        } else if (QChar::isHighSurrogate(unit) && i + 1 < size && QChar::isLowSurrogate(in[i + 1])) {
            const char32_t code = QChar::surrogateToUcs4(unit, in[i + 1]);
            const char32_t upper = QChar::toUpper(code);
            const char32_t kept = QChar::requiresSurrogates(upper) ? upper : code;
            out[i] = QChar(QChar::highSurrogate(kept));
            out[++i] = QChar(QChar::lowSurrogate(kept));
        } else {
            out[i] = QChar(unit); // a lone half of a pair stays as it is
        }
    }
}

QString normalize(QStringView boxText)
{
    QString name;
    normalize(boxText, name);
    return name;
}

bool isBlank(const QString& boxText)
{
    return Text::trimSpacesView(boxText).isEmpty();
}

} // namespace NameRules
