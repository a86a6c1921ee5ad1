// The single-instance guard of Windows: a named mutex of the user's session.

#include "services/MutexInstanceGuard.h"

#include <QCoreApplication>
#include <QTest>

#include <qt_windows.h>

class TestMutexInstanceGuard : public QObject
{
    Q_OBJECT
private slots:
    void secondCopy_data();
    void secondCopy();
    void installerFindsARunningCopy();
};

void TestMutexInstanceGuard::secondCopy_data()
{
    QTest::addColumn<QString>("secondName"); // the first copy runs as "QZGuardTest"
    QTest::addColumn<bool>("firstEnded");
    QTest::addColumn<bool>("starts");
    QTest::newRow("same name") << "QZGuardTest" << false << false;
    QTest::newRow("other letter case") << "QZGUARDTEST" << false << false;
    QTest::newRow("another program") << "QZGuardTest2" << false << true;
    QTest::newRow("the first copy ended") << "QZGuardTest" << true << true;
}

void TestMutexInstanceGuard::secondCopy()
{
    QFETCH(QString, secondName);
    QFETCH(bool, firstEnded);
    const QString pid = QString::number(QCoreApplication::applicationPid());

    MutexInstanceGuard first(QStringLiteral("QZGuardTest") + pid);
    QVERIFY(first.claim());
    if (firstEnded)
        first.release();
    MutexInstanceGuard second(secondName + pid);
    QTEST(second.claim(), "starts");
}

// The installer asks for this name to find a copy that runs, however the program was started.
void TestMutexInstanceGuard::installerFindsARunningCopy()
{
    auto found = [] {
        HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Local\\QZ-qzfreenamecompatibility");
        if (mutex)
            CloseHandle(mutex);
        return mutex != nullptr;
    };
    MutexInstanceGuard guard(QStringLiteral("QZFreeNameCompatibility"));
    QVERIFY(!found());
    QVERIFY(guard.claim());
    QVERIFY(found());
    guard.release();
    QVERIFY(!found());
}

QTEST_GUILESS_MAIN(TestMutexInstanceGuard)
#include "TestMutexInstanceGuard.moc"
