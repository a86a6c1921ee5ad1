#include "ReadingFormat.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace ReadingFormat {

namespace {

// A group is shown as all its characters, so a letter counted three times reads NNN.
QString groupText(const CharacterGroup& group)
{
    return QString(group.count, QChar(group.character));
}

// The lists end in a filler 0 that takes part in the sums; it is shown in brackets to set it apart.
QString withFiller(const std::vector<int>& values)
{
    QStringList parts;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QString number = QString::number(values[i]);
        parts << (i + 1 == values.size() ? QLatin1Char('(') + number + QLatin1Char(')') : number);
    }
    return parts.join(QLatin1Char(' '));
}

QJsonArray numbers(const std::vector<int>& values)
{
    QJsonArray array;
    for (const int v : values)
        array.append(v);
    return array;
}

// U, the index of the last entry of the fold list.
int lastIndex(const std::vector<int>& foldList)
{
    return static_cast<int>(foldList.size()) - 1;
}

} // namespace

QString explain(const QString& yourName, const QString& partnersName, const CompatibilitySteps& steps)
{
    QStringList groups;
    for (const CharacterGroup& g : steps.groups)
        groups << groupText(g);
    QStringList fold;
    for (const int v : steps.foldList)
        fold << QString::number(v);

    QString text;
    const auto add = [&text](const char* label, const QString& value) {
        text += QLatin1String(label) + QStringLiteral(": ") + value + QLatin1Char('\n');
    };
    add("Your name", yourName);
    add("Partner's name", partnersName);
    add("Combined text", steps.combined);
    add("Groups", groups.join(QLatin1Char(' ')));
    add("Marks", withFiller(steps.marks));
    add("Pair sums", withFiller(steps.pairSums));
    add("Fold list", fold.join(QStringLiteral(", ")));
    add("U", QString::number(lastIndex(steps.foldList)));
    add("Result number", QString::number(steps.resultNumber));
    add("Level", QString::number(steps.level));
    return text;
}

QByteArray json(const QString& yourName, const QString& partnersName, const CompatibilitySteps& steps)
{
    QJsonArray groups;
    for (const CharacterGroup& g : steps.groups)
        groups.append(groupText(g));
    const QJsonObject object{
        {QStringLiteral("yourName"), yourName},
        {QStringLiteral("partnersName"), partnersName},
        {QStringLiteral("combined"), steps.combined},
        {QStringLiteral("groups"), groups},
        {QStringLiteral("marks"), numbers(steps.marks)},
        {QStringLiteral("pairSums"), numbers(steps.pairSums)},
        {QStringLiteral("foldList"), numbers(steps.foldList)},
        {QStringLiteral("u"), lastIndex(steps.foldList)},
        {QStringLiteral("resultNumber"), steps.resultNumber},
        {QStringLiteral("level"), steps.level},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

} // namespace ReadingFormat
