#include "BaseDirs.h"

#include <QDir>

namespace {

QString absoluteOr(const char* variable, const QString& fallback)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : fallback;
}

} // namespace

namespace BaseDirs {

QString configHome()
{
    return absoluteOr("XDG_CONFIG_HOME", QDir::homePath() + QStringLiteral("/.config"));
}

QString cacheHome()
{
    return absoluteOr("XDG_CACHE_HOME", QDir::homePath() + QStringLiteral("/.cache"));
}

QString runtimeDir()
{
    return absoluteOr("XDG_RUNTIME_DIR", QString());
}

void dropRelative()
{
    for (const char* variable :
         {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME", "XDG_RUNTIME_DIR"}) {
        if (qEnvironmentVariableIsSet(variable) && !QDir::isAbsolutePath(qEnvironmentVariable(variable)))
            qunsetenv(variable);
    }
}

} // namespace BaseDirs
