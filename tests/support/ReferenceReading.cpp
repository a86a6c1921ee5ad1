#include "ReferenceReading.h"

#include <QStringList>

std::vector<CharacterGroup> referenceGroups(const QString& yourName, const QString& partnersName)
{
    const QString combined = yourName + QLatin1Char(' ') + partnersName;
    std::vector<CharacterGroup> groups;
    for (qsizetype i = 0; i < combined.size(); ++i) {
        const char16_t c = combined.at(i).unicode();
        if (i > 0 && c == u' ')
            continue;
        std::size_t g = 0;
        while (g < groups.size() && groups[g].character != c)
            ++g;
        if (g == groups.size())
            groups.push_back({c, 0});
        ++groups[g].count;
    }
    return groups;
}

QString groupsText(const std::vector<CharacterGroup>& groups)
{
    QStringList parts;
    for (const CharacterGroup& g : groups)
        parts << QString(g.count, QChar(g.character));
    return parts.join(u' ');
}

QString listText(const std::vector<int>& values)
{
    QStringList parts;
    for (const int v : values)
        parts << QString::number(v);
    return parts.join(u' ');
}
