#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>

namespace Text {

// Leading and trailing spaces (U+0020 only; tabs and line breaks stay) left out of a text, as a view into
// it: no copy, for callers that only look.
inline QStringView trimSpacesView(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

// The same as a text of its own.
inline QString trimSpaces(QStringView text)
{
    return trimSpacesView(text).toString();
}

// A field that shows its hint (trimmed text equal to the hint) is emptied when it takes the focus.
inline QString textOnFocusIn(const QString& text, const QString& hint)
{
    return trimSpacesView(text) == hint ? QString() : text;
}

// A field left blank (nothing but spaces) shows its hint again.
inline QString textOnFocusOut(const QString& text, const QString& hint)
{
    return trimSpacesView(text).isEmpty() ? hint : text;
}

// A one-line box keeps only the first line of what is inserted into it (a multi-line paste or drop), as a
// one-line Windows box does; tabs stay. The box holds no line break before an insert, so the first break
// in its text lies in the inserted part, which ends at the cursor (a text set whole keeps its first line).
inline void keepFirstInsertedLine(QString& text, int& cursor)
{
    // The mandatory line breaks of Unicode: LF, VT, FF, CR, NEL, line and paragraph separators.
    const auto isBreak = [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x0A && u <= 0x0D) || u == 0x85 || u == 0x2028 || u == 0x2029;
    };
    const auto cut = std::find_if(text.cbegin(), text.cend(), isBreak) - text.cbegin();
    if (cut == text.size())
        return;
    text.remove(cut, (cursor > cut ? cursor : text.size()) - cut);
    cursor = static_cast<int>(std::min<qsizetype>(cursor, cut));
}

} // namespace Text
