#include "BaseDirs.h"

#include <QDir>

namespace {

QString xdgHome(const char* variable, const QString& defaultUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    return QDir::isAbsolutePath(value) ? value : QDir::homePath() + u'/' + defaultUnderHome;
}

} // namespace

namespace BaseDirs {

QString configHome()
{
    return xdgHome("XDG_CONFIG_HOME", QStringLiteral(".config"));
}

QString cacheHome()
{
    return xdgHome("XDG_CACHE_HOME", QStringLiteral(".cache"));
}

} // namespace BaseDirs
