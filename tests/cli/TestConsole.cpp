// Text for a Windows console reaches it as characters, whatever the console's code page.

#include "Output.h"

#include <QTest>

#include <windows.h>

#include <fcntl.h>
#include <io.h>

class TestConsole : public QObject
{
    Q_OBJECT

private slots:
    void consoleShowsTheCharacters();
};

void TestConsole::consoleShowsTheCharacters()
{
    // A console of its own: a test started from a script may hang on to a console without a window.
    FreeConsole();
    QVERIFY(AllocConsole());
    const HANDLE buffer =
        CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  CONSOLE_TEXTMODE_BUFFER, nullptr);
    QVERIFY(buffer != INVALID_HANDLE_VALUE);
    std::FILE* stream = _fdopen(_open_osfhandle(reinterpret_cast<intptr_t>(buffer), _O_BINARY), "wb");
    QVERIFY(stream);

    QVERIFY(Output::write(stream, "\xC3\x89LODIE \xE2\x82\xAC"));
    QCOMPARE(std::fflush(stream), 0);

    wchar_t shown[8] = {};
    DWORD read = 0;
    QVERIFY(ReadConsoleOutputCharacterW(buffer, shown, 8, COORD{0, 0}, &read));
    QCOMPARE(QString::fromWCharArray(shown, static_cast<qsizetype>(read)),
             QStringLiteral("\u00C9LODIE \u20AC"));
    std::fclose(stream);
}

QTEST_APPLESS_MAIN(TestConsole)
#include "TestConsole.moc"
