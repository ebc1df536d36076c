#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace orsan::fuzz {

// Reads the fuzzer's bytes front to back; past the end every read gives 0,
// so any input, even an empty one, drives a whole case.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    uint16_t Word() { return uint16_t(Byte() << 8 | Byte()); }

    // Up to n bytes (fewer when the input runs out).
    std::vector<uint8_t> Bytes(size_t n) {
        const size_t take = n < size_ - pos_ ? n : size_ - pos_;
        std::vector<uint8_t> out(data_ + pos_, data_ + pos_ + take);
        pos_ += take;
        return out;
    }
    std::vector<uint8_t> Rest() { return Bytes(size_ - pos_); }

private:
    const uint8_t* data_;
    size_t size_;
    size_t pos_ = 0;
};

// Cuts a stream of length total into pieces at the given points (any
// values; taken modulo the length, sorted, duplicates give empty pieces).
std::vector<size_t> PieceLengths(size_t total, std::vector<size_t> cuts);

}  // namespace orsan::fuzz

// A broken property is a finding: abort so libFuzzer keeps the input and the
// replay runner fails.
#define FUZZ_CHECK(condition)                                                                     \
    do {                                                                                          \
        if (!(condition)) {                                                                       \
            std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                         \
        }                                                                                         \
    } while (0)
