#pragma once

#include <QString>
#include <QStringView>

namespace Text {

// Removes leading and trailing spaces (U+0020) only; tabs and line breaks stay.
inline QString trimSpaces(QStringView text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ')
        ++begin;
    while (end > begin && text[end - 1] == u' ')
        --end;
    return text.mid(begin, end - begin).toString();
}

} // namespace Text
