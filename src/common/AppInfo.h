#pragma once

#include <QString>

// Texts and limits the whole program shares.
namespace AppInfo {

// Title of every message box of the program.
inline QString title()
{
    return QStringLiteral("QZ Name Compatibility");
}

// Caption of the main window, the About window and the exit screen.
inline QString windowTitle()
{
    return QStringLiteral("QZ Name Compatibility v1.15");
}

// Longest combined text the reading handles: positions are 16-bit.
constexpr int MaxCombinedLength = 32766;

// Longest name a name box accepts, so that both names and the separating space fit MaxCombinedLength.
constexpr int MaxNameLength = (MaxCombinedLength - 1) / 2;
static_assert(2 * MaxNameLength + 1 <= MaxCombinedLength);

// The name the settings store and the single-instance guard know the program by: the executable's file
// name without its folder (either slash) and without a Windows ".exe" ending. Other dots belong to the
// name, so "QZ.Free v2" stays whole.
QString applicationName(const QString& executablePath);

} // namespace AppInfo
