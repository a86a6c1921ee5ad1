#pragma once

#include "BatchText.h"

#include <QByteArrayView>

#include <cstddef>
#include <vector>

// Splits a stream of bytes into lines, reading it in large blocks. A line ends at LF; a CR just before
// the LF is dropped; a last line without LF still counts. A line longer than the limit is never held
// whole: it is skipped to its end and reported as too long, so memory stays bounded whatever the input.
// The bytes come through BatchText, which decodes UTF-16 input that starts with its byte order mark.
class BatchReader
{
public:
    // Fills buffer with up to capacity bytes; returns how many, 0 at the end of input, -1 on a read error.
    using Source = BatchText::Source;

    struct Line
    {
        QByteArrayView
            text; // without its line end; empty when tooLong or notUtf16; valid until the next call
        long long number = 0; // counted from 1
        bool tooLong = false;
        bool notUtf16 = false; // UTF-16 input with an unpaired surrogate or a lone last byte in this line
    };

    static constexpr std::size_t DefaultBlockBytes = std::size_t{1} << 20;

    BatchReader(Source source, std::size_t maxLineBytes, std::size_t blockBytes = DefaultBlockBytes);

    // The next line, or false at the end of input.
    bool next(Line& line);

    bool readFailed() const { return text_.failed(); }
    std::size_t maxLineBytes() const { return maxLineBytes_; }

private:
    bool fill();
    void skipRestOfLine();

    BatchText text_;
    std::size_t maxLineBytes_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;   // start of the current line
    std::size_t scanned_ = 0; // bytes from begin_ already known to hold no LF
    std::size_t end_ = 0;     // end of the bytes read
    long long number_ = 0;
};
