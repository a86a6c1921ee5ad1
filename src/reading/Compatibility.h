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

// Every list of a reading, for showing the working; the window needs only the level.
struct CompatibilitySteps
{
    QString combined;
    std::vector<CharacterGroup> groups;
    std::vector<int> marks;    // one per group, then the filler 0
    std::vector<int> pairSums; // ceil(groups / 2), then the filler 0
    std::vector<int> foldList; // the triple sums, the last pair sum, then 0
    int resultNumber = 0;
    int level = 0;
};

// The reading of two names, your name first, with every step kept. The names are used exactly as given:
// the caller upper-cases and trims them. Linear in the combined length, for any length.
CompatibilitySteps compatibilitySteps(QStringView yourName, QStringView partnersName);

// The level of compatibility (0-10) of the same reading.
int compatibilityLevel(QStringView yourName, QStringView partnersName);
