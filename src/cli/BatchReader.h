#pragma once

#include <QByteArrayView>

#include <cstddef>
#include <functional>
#include <vector>

// Splits a stream of bytes into lines, reading it in large blocks. A line ends at LF; a CR just before
// the LF is dropped; a last line without LF still counts. A line longer than the limit is never held
// whole: it is skipped to its end and reported as too long, so memory stays bounded whatever the input.
// A byte order mark at the start says what the text is: UTF-8 (the mark is dropped) or UTF-16 in either
// byte order (read as UTF-8, a block at a time); without one, the bytes are taken as they come.
class BatchReader
{
public:
    // Fills buffer with up to capacity bytes; returns how many, 0 at the end of input, -1 on a read error.
    using Source = std::function<std::ptrdiff_t(char* buffer, std::size_t capacity)>;

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

    bool readFailed() const { return readFailed_; }
    std::size_t maxLineBytes() const { return maxLineBytes_; }

private:
    enum class Encoding
    {
        Unknown,
        Bytes,
        Utf16Le,
        Utf16Be
    };

    bool fill();
    void skipRestOfLine();
    std::ptrdiff_t readText(char* buffer, std::size_t capacity);
    std::size_t pull(char* buffer, std::size_t capacity);
    void readMark();
    void decodeBlock();

    Source source_;
    std::size_t maxLineBytes_;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;   // start of the current line
    std::size_t scanned_ = 0; // bytes from begin_ already known to hold no LF
    std::size_t end_ = 0;     // end of the bytes read
    long long number_ = 0;
    bool atEnd_ = false;
    bool readFailed_ = false;

    std::size_t rawBlockBytes_; // the first read, and then the UTF-16 bytes decoded at a time
    Encoding encoding_ = Encoding::Unknown;
    bool sourceEnded_ = false;
    bool sourceFailed_ = false;
    std::vector<char> raw_;      // UTF-16 bytes read and not yet decoded (at most one, between blocks)
    std::vector<char> text_;     // bytes ready to hand to the line splitter
    std::size_t textAt_ = 0;     // how many of text_ are handed out
    char16_t highSurrogate_ = 0; // a high surrogate waiting for its low half
};
