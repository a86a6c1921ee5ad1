#pragma once

#include "reading/Compatibility.h"

// The reading done the slow and obvious way, each step as it is described: every character is looked up
// by scanning the groups from the first. Quadratic in the number of groups, so for short names only; the
// random and fuzz tests check the program's reading against it.
CompatibilitySteps referenceReading(const QString& yourName, const QString& partnersName);

// A group list as its characters ("J OO H"), a number list as its values ("1 0 1 0").
QString groupsText(const std::vector<CharacterGroup>& groups);
QString listText(const std::vector<int>& values);

// Every step of a reading on one line, so that a comparison shows where two readings part.
QString stepsText(const CompatibilitySteps& steps);
