#pragma once

#include <QString>

// The user's configuration, cache and runtime folders as the XDG base-directory rules give them: the
// variable's value when it is an absolute path, else the default (a relative value is ignored, so no
// folder depends on where the program was started). The runtime folder has no default: empty.
namespace BaseDirs {

QString configHome();
QString cacheHome();
QString runtimeDir();

// Removes from the environment every base-directory variable whose value is not an absolute path, so that
// Qt ignores it too: Qt 6.4 would make a relative XDG_RUNTIME_DIR in the working folder.
void dropRelative();

} // namespace BaseDirs
