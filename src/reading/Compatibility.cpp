#include "Compatibility.h"

#include <array>
#include <memory>

namespace {

// Groups the characters of "yourName partnersName" in order of first occurrence: the first character
// always opens a group (even a space), every later space is skipped. A table from character code to group
// index makes each character a constant-time step; only the entries used are reset afterwards, so a call
// costs time in proportion to its input, not to the size of the table.
class Grouper
{
public:
    Grouper() { slots_.fill(-1); }

    void run(QStringView yourName, QStringView partnersName, std::vector<CharacterGroup>& groups)
    {
        groups.clear();
        bool first = true;
        auto take = [&](char16_t c) {
            if (first) {
                first = false;
                open(c, groups);
                return;
            }
            if (c == u' ')
                return;
            const int slot = slots_[c];
            if (slot >= 0)
                ++groups[static_cast<std::size_t>(slot)].count;
            else
                open(c, groups);
        };
        for (const QChar c : yourName)
            take(c.unicode());
        take(u' ');
        for (const QChar c : partnersName)
            take(c.unicode());
        for (const CharacterGroup& g : groups)
            slots_[g.character] = -1;
    }

private:
    void open(char16_t c, std::vector<CharacterGroup>& groups)
    {
        slots_[c] = static_cast<int>(groups.size());
        groups.push_back({c, 1});
    }

    std::array<int, 65536> slots_;
};

Grouper& grouper()
{
    thread_local std::unique_ptr<Grouper> instance = std::make_unique<Grouper>();
    return *instance;
}

int digitSum(int number)
{
    int sum = 0;
    for (; number > 0; number /= 10)
        sum += number % 10;
    return sum;
}

} // namespace

void foldMarks(CompatibilitySteps& s)
{
    const std::size_t groupCount = s.marks.size();
    s.marks.push_back(0);

    s.pairSums.clear();
    for (std::size_t i = 0; i + 1 <= groupCount; i += 2)
        s.pairSums.push_back(s.marks[i] + s.marks[i + 1]);
    const std::size_t m = s.pairSums.size();
    s.pairSums.push_back(0);

    s.foldList.clear();
    for (std::size_t i = 0; i + 2 <= m; i += 3)
        s.foldList.push_back(s.pairSums[i] + s.pairSums[i + 1] + s.pairSums[i + 2]);
    // The last pair sum is appended in every case, even when the last triple already counted it.
    s.foldList.push_back(s.pairSums[m - 1]);
    s.foldList.push_back(0);

    s.u = static_cast<int>(s.foldList.size()) - 1;
    const auto& f = s.foldList;
    if (s.u % 2 == 0)
        s.resultNumber = f[0] + f[1];
    else
        s.resultNumber = (f[0] + f[1]) + (f[1] + (f.size() > 2 ? f[2] : 0));
    s.level = digitSum(s.resultNumber);
}

CompatibilitySteps compatibilitySteps(QStringView yourName, QStringView partnersName)
{
    CompatibilitySteps s;
    s.combined = yourName.toString() + QLatin1Char(' ') + partnersName.toString();
    grouper().run(yourName, partnersName, s.groups);
    s.marks.reserve(s.groups.size() + 1);
    for (const CharacterGroup& g : s.groups)
        s.marks.push_back(g.count % 2);
    foldMarks(s);
    return s;
}

int compatibilityLevel(QStringView yourName, QStringView partnersName)
{
    thread_local CompatibilitySteps s;
    grouper().run(yourName, partnersName, s.groups);
    s.marks.clear();
    for (const CharacterGroup& g : s.groups)
        s.marks.push_back(g.count % 2);
    foldMarks(s);
    return s.level;
}
