#include "CompatCli.h"

#include <cstdio>

#ifdef Q_OS_WIN
#include <QByteArray>
#include <QString>

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <vector>

namespace {

// main's arguments on Windows are in the ANSI code page, which holds few of the world's names and is
// never UTF-8 by default; the wide command line holds every name, passed on as UTF-8 as on Linux.
std::vector<QByteArray> utf8Arguments()
{
    std::vector<QByteArray> arguments;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 0; i < count; ++i)
            arguments.push_back(QString::fromWCharArray(wide[i]).toUtf8());
        LocalFree(wide);
    }
    return arguments;
}

} // namespace

int main(int argc, char* argv[])
{
    // Bytes in and out as they are, as on Linux: in text mode the C runtime would write CR LF for each
    // line end and stop reading a batch at the first Ctrl+Z byte.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    std::vector<QByteArray> arguments = utf8Arguments();
    if (arguments.empty())
        return CompatCli::run(argc, argv, stdin, stdout, stderr);
    std::vector<const char*> pointers;
    for (const QByteArray& argument : arguments)
        pointers.push_back(argument.constData());
    pointers.push_back(nullptr);
    return CompatCli::run(static_cast<int>(arguments.size()), pointers.data(), stdin, stdout, stderr);
}

#else

int main(int argc, char* argv[])
{
    return CompatCli::run(argc, argv, stdin, stdout, stderr);
}

#endif
