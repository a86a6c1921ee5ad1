#pragma once

#include "BatchReader.h"
#include "NameCheck.h"
#include "common/AppInfo.h"

#include <QByteArrayView>
#include <QString>

#include <cstdio>

// The --batch mode: one NAME<TAB>PARTNER pair per line in, one level per line out. A line that cannot be
// read gives an empty output line and a message naming its line number, and the run goes on.
class BatchJob
{
public:
    // Longest line accepted, in bytes: two names of the longest length in 3-byte UTF-8, and the tab.
    static constexpr std::size_t MaxLineBytes = 6 * std::size_t{AppInfo::MaxNameLength} + 1;

    // The level of one line, or -1 with problem set to what is wrong with it.
    int levelOf(QByteArrayView line, QString& problem);

    // Processes every line of reader; returns 0, or 1 if any line failed or the input failed. Stops with 1
    // at the first output that cannot be written.
    int run(BatchReader& reader, std::FILE* out, std::FILE* err);

private:
    // Kept between lines so that their storage is reused.
    NameCheck names_;
    QString yourName_;
    QString partnersName_;
};
