#pragma once

#include <QString>
#include <QStringView>

namespace Text {

// The part of a text without its leading and trailing spaces (U+0020 only; tabs and line breaks stay).
inline QStringView spaceTrimmed(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin);
}

// Removes leading and trailing spaces (U+0020) only; tabs and line breaks stay.
inline QString trimSpaces(QStringView text)
{
    return spaceTrimmed(text).toString();
}

} // namespace Text
