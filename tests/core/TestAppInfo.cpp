#include "common/AppInfo.h"

#include <QTest>

class TestAppInfo : public QObject
{
    Q_OBJECT
private slots:
    void applicationName_data();
    void applicationName();
};

void TestAppInfo::applicationName_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    QTest::newRow("installed") << "/usr/bin/QZFreeNameCompatibility"
                               << "QZFreeNameCompatibility";
    QTest::newRow("dots kept") << "/opt/qz/QZ.Free v2"
                               << "QZ.Free v2";
    QTest::newRow("Windows path") << "C:\\Program Files\\QZ\\QZ.Free v2.exe"
                                  << "QZ.Free v2";
    QTest::newRow("ending in capitals") << "C:/QZ/QZFREE.EXE"
                                        << "QZFREE";
    QTest::newRow("no folder") << "QZFreeNameCompatibility.exe"
                               << "QZFreeNameCompatibility";
}

void TestAppInfo::applicationName()
{
    QFETCH(QString, path);
    QTEST(AppInfo::applicationName(path), "name");
}

QTEST_APPLESS_MAIN(TestAppInfo)
#include "TestAppInfo.moc"
