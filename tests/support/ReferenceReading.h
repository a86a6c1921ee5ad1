#pragma once

#include "reading/Compatibility.h"

// The grouping done the slow and obvious way (quadratic: short names only), for the random and fuzz tests
// to check the program's grouping against.
std::vector<CharacterGroup> referenceGroups(const QString& yourName, const QString& partnersName);

// A group list as its characters ("J OO H"), a number list as its values ("1 0 1 0").
QString groupsText(const std::vector<CharacterGroup>& groups);
QString listText(const std::vector<int>& values);
