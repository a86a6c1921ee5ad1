#include "AppInfo.h"

#include <algorithm>

namespace AppInfo {

QString applicationName(const QString& executablePath)
{
    const qsizetype slash = std::max(executablePath.lastIndexOf(u'/'), executablePath.lastIndexOf(u'\\'));
    QStringView name = QStringView(executablePath).mid(slash + 1);
    if (name.endsWith(u".exe", Qt::CaseInsensitive))
        name.chop(4);
    return name.toString();
}

} // namespace AppInfo
