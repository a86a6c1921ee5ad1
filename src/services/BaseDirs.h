#pragma once

#include <QString>

// The user's configuration and cache folders as the XDG base-directory rules give them: the variable's
// value when it is an absolute path, else the default under the home folder (a relative value is
// ignored, so the folder never depends on where the program was started).
namespace BaseDirs {

QString configHome();
QString cacheHome();

} // namespace BaseDirs
