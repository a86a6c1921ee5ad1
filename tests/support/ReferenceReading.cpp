#include "ReferenceReading.h"

#include <QStringList>

CompatibilitySteps referenceReading(const QString& yourName, const QString& partnersName)
{
    CompatibilitySteps r;
    r.combined = yourName + QLatin1Char(' ') + partnersName;
    for (qsizetype i = 0; i < r.combined.size(); ++i) {
        const char16_t c = r.combined.at(i).unicode();
        if (i > 0 && c == u' ')
            continue;
        std::size_t g = 0;
        while (g < r.groups.size() && r.groups[g].character != c)
            ++g;
        if (g == r.groups.size())
            r.groups.push_back({c, 0});
        ++r.groups[g].count;
    }

    const std::size_t groupCount = r.groups.size();
    for (const CharacterGroup& g : r.groups)
        r.marks.push_back(g.count % 2 == 1 ? 1 : 0);
    r.marks.push_back(0);

    for (std::size_t i = 0; i <= groupCount - 1; i += 2)
        r.pairSums.push_back(r.marks[i] + r.marks[i + 1]);
    const std::size_t m = r.pairSums.size();
    r.pairSums.push_back(0);

    // m >= 1 always (the combined text holds at least its space), so m - 2 may be "negative": no triple.
    for (std::size_t i = 0; m >= 2 && i <= m - 2; i += 3)
        r.foldList.push_back(r.pairSums[i] + r.pairSums[i + 1] + r.pairSums[i + 2]);
    r.foldList.push_back(r.pairSums[m - 1]);
    r.foldList.push_back(0);

    r.u = static_cast<int>(r.foldList.size()) - 1;
    const std::vector<int>& f = r.foldList;
    if (r.u % 2 == 0)
        r.resultNumber = f[0] + f[1];
    else
        r.resultNumber = (f[0] + f[1]) + (r.u == 1 ? 0 : f[1] + f[2]);
    for (const QChar d : QString::number(r.resultNumber))
        r.level += d.digitValue();
    return r;
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

QString stepsText(const CompatibilitySteps& s)
{
    return QStringList{QStringLiteral("combined ") + s.combined,
                       QStringLiteral("groups ") + groupsText(s.groups),
                       QStringLiteral("marks ") + listText(s.marks),
                       QStringLiteral("pairs ") + listText(s.pairSums),
                       QStringLiteral("fold ") + listText(s.foldList),
                       QStringLiteral("U ") + QString::number(s.u),
                       QStringLiteral("number ") + QString::number(s.resultNumber),
                       QStringLiteral("level ") + QString::number(s.level)}
        .join(QStringLiteral(" | "));
}
