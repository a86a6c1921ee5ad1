#include "Compatibility.h"

#include <algorithm>

namespace {

// Groups the characters of "yourName partnersName" in order of first occurrence. The first character
// always opens a group, even a space; every later space is skipped. A table from character code to group
// index, spanning only the codes between the lowest and the highest of the text, finds a character's
// group in one step.
std::vector<CharacterGroup> groupCharacters(QStringView yourName, QStringView partnersName)
{
    char16_t lowest = u' ';
    char16_t highest = u' ';
    for (const QStringView name : {yourName, partnersName}) {
        for (const QChar c : name) {
            lowest = std::min(lowest, c.unicode());
            highest = std::max(highest, c.unicode());
        }
    }
    std::vector<int> groupOf(static_cast<std::size_t>(highest - lowest + 1), -1);
    std::vector<CharacterGroup> groups;
    groups.reserve(
        std::min(groupOf.size(), static_cast<std::size_t>(yourName.size() + 1 + partnersName.size())));
    auto take = [&](char16_t c) {
        if (c == u' ' && !groups.empty())
            return;
        int& group = groupOf[c - lowest];
        if (group < 0) {
            group = static_cast<int>(groups.size());
            groups.emplace_back().character = c;
        }
        ++groups[static_cast<std::size_t>(group)].count;
    };
    for (const QChar c : yourName)
        take(c.unicode());
    take(u' ');
    for (const QChar c : partnersName)
        take(c.unicode());
    return groups;
}

// 1 for a group of odd length, 0 for even, then the filler 0.
std::vector<int> marksOf(const std::vector<CharacterGroup>& groups)
{
    std::vector<int> marks;
    marks.reserve(groups.size() + 1);
    for (const CharacterGroup& g : groups)
        marks.push_back(g.count % 2);
    marks.push_back(0);
    return marks;
}

// Consecutive marks two at a time (the last pair may take the filler), then the filler 0.
std::vector<int> pairSumsOf(const std::vector<int>& marks)
{
    const std::size_t groupCount = marks.size() - 1;
    std::vector<int> pairs;
    pairs.reserve(groupCount / 2 + 2);
    for (std::size_t i = 0; i < groupCount; i += 2)
        pairs.push_back(marks[i] + marks[i + 1]);
    pairs.push_back(0);
    return pairs;
}

// Consecutive pair sums three at a time (the last triple may take the filler), then the last pair sum,
// appended even when the last triple already counted it, then 0.
std::vector<int> foldListOf(const std::vector<int>& pairs)
{
    const std::size_t m = pairs.size() - 1;
    std::vector<int> fold;
    fold.reserve(m / 3 + 3);
    for (std::size_t i = 0; i + 2 <= m; i += 3)
        fold.push_back(pairs[i] + pairs[i + 1] + pairs[i + 2]);
    fold.push_back(pairs[m - 1]);
    fold.push_back(0);
    return fold;
}

// With U the index of the last entry: F0 + F1 when U is even, (F0 + F1) + (F1 + F2) when it is odd, where
// a missing F2 (U = 1) counts as 0.
int resultNumberOf(const std::vector<int>& fold)
{
    const std::size_t u = fold.size() - 1;
    if (u % 2 == 0)
        return fold[0] + fold[1];
    return (fold[0] + fold[1]) + (fold[1] + (u > 1 ? fold[2] : 0));
}

int digitSum(int number)
{
    int sum = 0;
    for (; number > 0; number /= 10)
        sum += number % 10;
    return sum;
}

// Every step but the combined text, which is only kept for showing.
CompatibilitySteps reading(QStringView yourName, QStringView partnersName)
{
    CompatibilitySteps s;
    s.groups = groupCharacters(yourName, partnersName);
    s.marks = marksOf(s.groups);
    s.pairSums = pairSumsOf(s.marks);
    s.foldList = foldListOf(s.pairSums);
    s.resultNumber = resultNumberOf(s.foldList);
    s.level = digitSum(s.resultNumber);
    return s;
}

} // namespace

CompatibilitySteps compatibilitySteps(QStringView yourName, QStringView partnersName)
{
    CompatibilitySteps s = reading(yourName, partnersName);
    s.combined.reserve(yourName.size() + 1 + partnersName.size());
    s.combined.append(yourName).append(u' ').append(partnersName);
    return s;
}

int compatibilityLevel(QStringView yourName, QStringView partnersName)
{
    return reading(yourName, partnersName).level;
}
