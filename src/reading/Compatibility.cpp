#include "Compatibility.h"

#include <array>
#include <cstdint>
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

// The reading needs only whether each group's count is odd, in order of first occurrence. One byte per
// character code holds that (0 not seen yet, 1 odd, 2 even), so each character is a load and a store
// with no branch; the codes are listed in order as they first appear. Spaces are counted like any code
// and sorted out afterwards: only a space that came first forms a group (of one), any other is skipped.
// Returns how many codes were seen; order needs room for one more than that.
std::size_t scanParities(QStringView yourName, QStringView partnersName, std::uint8_t* state, char16_t* order)
{
    std::size_t seen = 0;
    auto take = [&](const QChar* p, const QChar* end) {
        for (; p != end; ++p) {
            const char16_t c = p->unicode();
            const std::uint8_t s = state[c];
            order[seen] = c;
            seen += s == 0;
            state[c] = static_cast<std::uint8_t>((s & 1U) + 1U);
        }
    };
    take(yourName.begin(), yourName.end());
    const QChar space(u' ');
    take(&space, &space + 1);
    take(partnersName.begin(), partnersName.end());
    return seen;
}

// Writes the groups' marks (1 for an odd count) in order and clears the state entries used; returns the
// number of groups.
std::size_t collectMarks(const char16_t* order, std::size_t seen, std::uint8_t* state, std::uint8_t* marks)
{
    std::size_t groups = 0;
    for (std::size_t i = 0; i < seen; ++i) {
        const char16_t c = order[i];
        const std::uint8_t s = state[c];
        state[c] = 0;
        if (c != u' ')
            marks[groups++] = s == 1;
        else if (i == 0)
            marks[groups++] = 1;
    }
    return groups;
}

// The fold of foldMarks, computing only the three first entries of the fold list and its length: those
// are all the result number depends on. With m marks, the filler 0 after them, M = ceil(m / 2) pair sums
// and the filler after those, the fold list holds T = (M - 2) / 3 + 1 triple sums (none when M < 2),
// the last pair sum and 0.
int levelOfMarks(const std::uint8_t* marks, std::size_t groupCount)
{
    const std::size_t m = groupCount;
    auto mark = [&](std::size_t i) -> int { return i < m ? marks[i] : 0; };
    const std::size_t pairCount = (m + 1) / 2;
    auto pair = [&](std::size_t k) -> int { return k < pairCount ? mark(2 * k) + mark(2 * k + 1) : 0; };
    const std::size_t triples = pairCount >= 2 ? (pairCount - 2) / 3 + 1 : 0;
    auto fold = [&](std::size_t k) -> int {
        if (k < triples)
            return pair(3 * k) + pair(3 * k + 1) + pair(3 * k + 2);
        return k == triples ? pair(pairCount - 1) : 0;
    };
    const std::size_t u = triples + 1;
    const int resultNumber = u % 2 == 0 ? fold(0) + fold(1) : fold(0) + 2 * fold(1) + fold(2);
    return digitSum(resultNumber);
}

// Codes from the space to the underscore: upper-case letters, digits, punctuation. Names upper-cased by
// the caller almost always stay inside this window of 64 codes.
constexpr char16_t WindowStart = u' ';
constexpr unsigned WindowSize = 64;

// Code units of a view as unsigned numbers: QChar for UTF-16, char (signed on x86) for Latin-1.
inline char16_t codeOf(QChar c)
{
    return c.unicode();
}
inline char16_t codeOf(char c)
{
    return static_cast<unsigned char>(c);
}

template <typename View> bool inWindow(View text)
{
    // One OR over the whole text (vectorised by the compiler); a code below the window wraps to a large
    // 16-bit value, so any code outside it leaves a bit at or above the window size.
    unsigned bits = 0;
    for (const auto c : text)
        bits |= static_cast<char16_t>(codeOf(c) - WindowStart);
    return bits < WindowSize;
}

// The same scan for text inside the window, with the seen and odd sets held as two 64-bit masks in
// registers: no table to clear, and no memory traffic but the list of first occurrences.
template <typename View> int windowLevel(View yourName, View partnersName)
{
    std::uint64_t seen = 0;
    std::uint64_t odd = 0;
    std::array<char16_t, WindowSize + 1> order;
    std::size_t count = 0;
    auto take = [&](char16_t c) {
        const std::uint64_t bit = std::uint64_t{1} << (c - WindowStart);
        order[count] = c;
        count += (seen & bit) == 0;
        seen |= bit;
        odd ^= bit;
    };
    for (const auto c : yourName)
        take(codeOf(c));
    take(u' ');
    for (const auto c : partnersName)
        take(codeOf(c));

    std::array<std::uint8_t, WindowSize> marks;
    std::size_t groups = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const char16_t c = order[i];
        if (c != u' ')
            marks[groups++] = (odd >> (c - WindowStart)) & 1U;
        else if (i == 0)
            marks[groups++] = 1;
    }
    return levelOfMarks(marks.data(), groups);
}

// Tables for any code: 64 KiB of state, kept per thread so that it is cleared once, not per call.
class WideTables
{
public:
    std::size_t scan(QStringView yourName, QStringView partnersName, std::size_t length)
    {
        if (order_.size() < length)
            order_.resize(length);
        if (marks_.size() < length)
            marks_.resize(length);
        const std::size_t seen = scanParities(yourName, partnersName, state_.data(), order_.data());
        return collectMarks(order_.data(), seen, state_.data(), marks_.data());
    }

    const std::uint8_t* marks() const { return marks_.data(); }

private:
    std::array<std::uint8_t, 65536> state_{};
    std::vector<char16_t> order_;
    std::vector<std::uint8_t> marks_;
};

WideTables& wideTables()
{
    thread_local std::unique_ptr<WideTables> instance = std::make_unique<WideTables>();
    return *instance;
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
    if (inWindow(yourName) && inWindow(partnersName))
        return windowLevel(yourName, partnersName);
    WideTables& tables = wideTables();
    const std::size_t length = static_cast<std::size_t>(yourName.size() + 1 + partnersName.size());
    const std::size_t groupCount = tables.scan(yourName, partnersName, length);
    return levelOfMarks(tables.marks(), groupCount);
}

int compatibilityLevel(QLatin1StringView yourName, QLatin1StringView partnersName)
{
    if (inWindow(yourName) && inWindow(partnersName))
        return windowLevel(yourName, partnersName);
    return compatibilityLevel(QString(yourName), QString(partnersName));
}
