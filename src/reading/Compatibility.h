#pragma once

#include <QString>
#include <QStringView>

#include <vector>

// One character of the combined names and how many times it was counted.
struct CharacterGroup
{
    char16_t character;
    int count;
};

// Every intermediate list of a reading, for showing the working (the window needs only the level).
struct CompatibilitySteps
{
    QString combined;
    std::vector<CharacterGroup> groups;
    std::vector<int> marks;    // one per group, then the filler 0
    std::vector<int> pairSums; // ceil(groups / 2), then the filler 0
    std::vector<int> foldList; // the triple sums, the last pair sum, then 0
    int u = 0;                 // index of the last entry of foldList
    int resultNumber = 0;
    int level = 0;
};

// The level of compatibility (0-10) of two names, your name first. The names are used exactly as given:
// the caller upper-cases and trims them. Linear in the combined length.
int compatibilityLevel(QStringView yourName, QStringView partnersName);

// The same for names held as Latin-1 bytes (plain ASCII names read by the command-line companion),
// without converting them to UTF-16 first.
int compatibilityLevel(QLatin1StringView yourName, QLatin1StringView partnersName);

// The same reading with every step kept.
CompatibilitySteps compatibilitySteps(QStringView yourName, QStringView partnersName);

// Reduces odd/even marks (without their filler) to the level, filling in the other lists of steps.
void foldMarks(CompatibilitySteps& steps);
