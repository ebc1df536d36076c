#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orsan::test {

// A sample value with the text the waveform file must carry for it, worked
// out by hand (six significant digits, three-digit exponent).
struct ValueText {
    float value;
    const char* text;
};
const std::vector<ValueText>& KnownValueTexts();

// Samples for n whole samples: X = table[i], Y = table[i + 3], Z = table[i + 7]
// (indices modulo the table), interleaved X, Y, Z.
std::vector<float> KnownSamples(size_t n);

// The file text those samples must produce, built from the hand-written texts.
std::string ExpectedWaveFile(size_t n);

// The packets carrying KnownSamples(116 * packets), numbered from 1.
std::vector<uint8_t> KnownPacketStream(size_t packets, float rate);

}  // namespace orsan::test
