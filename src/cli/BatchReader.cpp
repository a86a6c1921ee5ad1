#include "BatchReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

BatchReader::BatchReader(Source source, std::size_t maxLineBytes, std::size_t blockBytes)
    : text_(std::move(source), blockBytes), maxLineBytes_(maxLineBytes),
      // Room for the longest line plus its CR LF, so a line within the limit always fits the buffer.
      buffer_(std::max(blockBytes, maxLineBytes + 2))
{
}

bool BatchReader::next(Line& line)
{
    for (;;) {
        const char* base = buffer_.data();
        const void* lf = std::memchr(base + begin_ + scanned_, '\n', end_ - begin_ - scanned_);
        if (lf || (text_.atEnd() && begin_ < end_)) {
            const std::size_t stop =
                lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - base) : end_;
            std::size_t length = stop - begin_;
            if (length > 0 && base[begin_ + length - 1] == '\r')
                --length;
            line.number = ++number_;
            line.tooLong = length > maxLineBytes_;
            line.notUtf16 =
                !line.tooLong && text_.isUtf16() && std::memchr(base + begin_, BatchText::NotUtf16, length);
            line.text = line.tooLong || line.notUtf16
                            ? QByteArrayView()
                            : QByteArrayView(base + begin_, static_cast<qsizetype>(length));
            begin_ = lf ? stop + 1 : end_;
            scanned_ = 0;
            return true;
        }
        if (text_.atEnd())
            return false;
        scanned_ = end_ - begin_;
        // No LF yet and more than the longest line with its CR: this line is too long whatever follows.
        if (scanned_ > maxLineBytes_ + 1) {
            line.number = ++number_;
            line.tooLong = true;
            line.notUtf16 = false;
            line.text = QByteArrayView();
            skipRestOfLine();
            return true;
        }
        fill();
    }
}

bool BatchReader::fill()
{
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    const std::size_t got = text_.read(buffer_.data() + end_, buffer_.size() - end_);
    end_ += got;
    return got > 0;
}

void BatchReader::skipRestOfLine()
{
    begin_ = end_ = scanned_ = 0;
    while (fill()) {
        const void* lf = std::memchr(buffer_.data(), '\n', end_);
        if (lf) {
            begin_ = static_cast<std::size_t>(static_cast<const char*>(lf) - buffer_.data()) + 1;
            return;
        }
        end_ = 0;
    }
    begin_ = end_ = 0;
}
