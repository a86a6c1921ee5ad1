#pragma once

#include <cstddef>
#include <functional>
#include <vector>

// The batch input as text for the line splitter. A byte order mark at the start says what the bytes are:
// UTF-8 (the mark is dropped) or UTF-16 in either byte order (decoded to UTF-8 a block at a time, in
// bounded memory); without one, the bytes are taken as they come. What UTF-16 cannot hold (an unpaired
// surrogate, a lone last byte) becomes the byte NotUtf16, which no UTF-8 text holds.
class BatchText
{
public:
    // Fills buffer with up to capacity bytes; returns how many, 0 at the end of input, -1 on a read error.
    using Source = std::function<std::ptrdiff_t(char* buffer, std::size_t capacity)>;

    static constexpr char NotUtf16 = '\xFF';

    BatchText(Source source, std::size_t blockBytes);

    // Up to capacity bytes of text; 0 only at the end (after a read error too).
    std::size_t read(char* buffer, std::size_t capacity);

    // Every byte of text has been read.
    bool atEnd() const;
    bool failed() const { return failed_; }
    bool isUtf16() const { return encoding_ == Encoding::Utf16Le || encoding_ == Encoding::Utf16Be; }

private:
    enum class Encoding
    {
        Unknown,
        Bytes,
        Utf16Le,
        Utf16Be
    };

    std::size_t pull(char* buffer, std::size_t capacity);
    void readMark();
    void decodeBlock();

    Source source_;
    std::size_t blockBytes_; // the first read, and then the UTF-16 bytes decoded at a time
    Encoding encoding_ = Encoding::Unknown;
    bool sourceEnded_ = false;
    bool failed_ = false;
    std::vector<char> raw_;      // UTF-16 bytes read and not yet decoded (at most one, between blocks)
    std::vector<char> text_;     // text not yet handed out
    std::size_t textAt_ = 0;     // how many of text_ are handed out
    char16_t highSurrogate_ = 0; // a high surrogate waiting for its low half
};
