#include "BatchText.h"

#include <QByteArrayView>
#include <QChar>

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// The most UTF-16 bytes decoded at a time; their UTF-8 form is at most one and a half times as long.
constexpr std::size_t MaxRawBlockBytes = std::size_t{1} << 16;

void appendUtf8(std::vector<char>& text, char32_t c)
{
    const auto byte = [&text](char32_t b) { text.push_back(static_cast<char>(b)); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | c >> 6);
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | c >> 12);
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | c >> 18);
        byte(0x80 | (c >> 12 & 0x3F));
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

} // namespace

BatchText::BatchText(Source source, std::size_t blockBytes)
    : source_(std::move(source)), blockBytes_(std::clamp(blockBytes, std::size_t{4}, MaxRawBlockBytes))
{
}

std::size_t BatchText::read(char* buffer, std::size_t capacity)
{
    if (encoding_ == Encoding::Unknown)
        readMark();
    while (textAt_ == text_.size()) {
        if (atEnd())
            return 0;
        if (encoding_ == Encoding::Bytes)
            return pull(buffer, capacity);
        decodeBlock();
    }
    const std::size_t n = std::min(capacity, text_.size() - textAt_);
    std::memcpy(buffer, text_.data() + textAt_, n);
    textAt_ += n;
    return n;
}

bool BatchText::atEnd() const
{
    return sourceEnded_ && textAt_ == text_.size() && raw_.empty() && highSurrogate_ == 0;
}

std::size_t BatchText::pull(char* buffer, std::size_t capacity)
{
    if (sourceEnded_)
        return 0;
    const std::ptrdiff_t got = source_(buffer, capacity);
    if (got > 0)
        return static_cast<std::size_t>(got);
    sourceEnded_ = true;
    failed_ = got < 0;
    return 0;
}

void BatchText::readMark()
{
    // At least four bytes, so that a UTF-32 mark (FF FE 00 00) is not taken for UTF-16's.
    text_.resize(blockBytes_);
    std::size_t got = 0;
    while (got < 4 && !sourceEnded_)
        got += pull(text_.data() + got, text_.size() - got);
    text_.resize(got);
    const QByteArrayView head(text_.data(), static_cast<qsizetype>(got));
    encoding_ = Encoding::Bytes;
    if (head.startsWith("\xEF\xBB\xBF")) {
        textAt_ = 3;
    } else if (head.startsWith("\xFE\xFF")) {
        encoding_ = Encoding::Utf16Be;
    } else if (head.startsWith("\xFF\xFE") && !head.startsWith(QByteArrayView("\xFF\xFE\0\0", 4))) {
        encoding_ = Encoding::Utf16Le;
    }
    if (encoding_ != Encoding::Bytes) {
        raw_.assign(text_.begin() + 2, text_.end());
        text_.clear();
    }
}

void BatchText::decodeBlock()
{
    const std::size_t kept = raw_.size();
    raw_.resize(blockBytes_);
    raw_.resize(kept + pull(raw_.data() + kept, blockBytes_ - kept));
    text_.clear();
    textAt_ = 0;
    const bool littleEndian = encoding_ == Encoding::Utf16Le;
    const std::size_t units = raw_.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const auto first = static_cast<unsigned char>(raw_[2 * i]);
        const auto second = static_cast<unsigned char>(raw_[2 * i + 1]);
        const auto unit = static_cast<char16_t>(littleEndian ? first | second << 8 : first << 8 | second);
        if (highSurrogate_ != 0) {
            const char16_t high = std::exchange(highSurrogate_, 0);
            if (QChar::isLowSurrogate(unit)) {
                appendUtf8(text_, QChar::surrogateToUcs4(high, unit));
                continue;
            }
            text_.push_back(NotUtf16);
        }
        if (QChar::isHighSurrogate(unit))
            highSurrogate_ = unit;
        else if (QChar::isLowSurrogate(unit))
            text_.push_back(NotUtf16);
        else
            appendUtf8(text_, unit);
    }
    raw_.erase(raw_.begin(), raw_.begin() + static_cast<std::ptrdiff_t>(2 * units));
    // At the end, a high surrogate still waiting or a lone byte can never be completed.
    if (sourceEnded_ && (highSurrogate_ != 0 || !raw_.empty())) {
        text_.push_back(NotUtf16);
        highSurrogate_ = 0;
        raw_.clear();
    }
}
