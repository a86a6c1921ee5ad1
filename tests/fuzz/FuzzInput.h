#pragma once

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A property that must hold for every input: on failure the fuzzer stops with the message and keeps the
// input that broke it.
#define FUZZ_REQUIRE(condition, ...)                                                                         \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "property failed: %s: ", #condition);                                       \
            std::fprintf(stderr, __VA_ARGS__);                                                               \
            std::fputc('\n', stderr);                                                                        \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)

// Takes the fuzzer's bytes apart: a few control bytes first, the rest as payload.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::uint8_t byte()
    {
        if (pos_ >= size_)
            return 0;
        return data_[pos_++];
    }

    std::size_t remaining() const { return size_ - pos_; }
    const std::uint8_t* rest() const { return data_ + pos_; }

    // The remaining bytes as UTF-16 code units, little-endian: any unit, lone surrogates included.
    QString restAsUtf16() const
    {
        QString text;
        text.reserve(static_cast<qsizetype>(remaining() / 2));
        for (std::size_t i = pos_; i + 1 < size_; i += 2)
            text.append(QChar(static_cast<char16_t>(data_[i] | (data_[i + 1] << 8))));
        return text;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};
