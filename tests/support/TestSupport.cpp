#include "TestSupport.h"

#include "web/PageUrls.h"

#include <QApplication>
#include <QFile>
#include <QWidget>

QByteArray encoded(const QByteArray& plain)
{
    QByteArray out = plain;
    for (char& c : out)
        c = static_cast<char>(static_cast<unsigned char>(c) + 85);
    return out;
}

QString page(const char* key)
{
    return QStringLiteral("http://" QZ_SITE_HOST "/qz-free-name-compatibility/ssd.php?page=") +
           QLatin1String(key);
}

bool hasFocus(const QWidget* control)
{
    const QWidget* f = QApplication::focusWidget();
    return f && (f == control || control->isAncestorOf(f));
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}
