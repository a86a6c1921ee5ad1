#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

// Command-line handling of qzcompat, kept apart from main() so that it can be tested.
namespace CompatCli {

enum ExitStatus
{
    Success = 0,
    BadInput = 1,
    BadUsage = 2
};

enum class Mode
{
    Level,
    Explain,
    Json,
    Batch,
    Help
};

struct Options
{
    Mode mode = Mode::Level;
    QByteArray yourName; // as given, not yet decoded
    QByteArray partnersName;
    QString error; // set when the command line cannot be used
};

// Reads the arguments after the program name. "--" ends the options, for a name that starts with '-'.
Options parseArguments(int argc, const char* const* argv);

QString usage();

// Runs the whole program; returns the exit status.
int run(int argc, const char* const* argv, std::FILE* in, std::FILE* out, std::FILE* err);

} // namespace CompatCli
