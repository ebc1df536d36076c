#include "WaveTestData.h"

#include <cstring>

#include "FakeWavePeer.h"

namespace orsan::test {

const std::vector<ValueText>& KnownValueTexts() {
    static const std::vector<ValueText> table = {
        {0.0f, "0"},
        {2.0f, "2"},
        {-0.5f, "-0.5"},
        {0.0123456789f, "0.0123457"},
        {0.00001f, "1e-005"},
        {-0.000123f, "-0.000123"},
        {0.0000123f, "1.23e-005"},
        {123456.0f, "123456"},
        {1234567.0f, "1.23457e+006"},
        {-3.25f, "-3.25"},
        {1.0e30f, "1e+030"},
        {-2.5e-12f, "-2.5e-012"},
        {0.1f, "0.1"},
        {999999.5f, "1e+006"},
        {-0.0001f, "-0.0001"},
    };
    return table;
}

std::vector<float> KnownSamples(size_t n) {
    const auto& table = KnownValueTexts();
    std::vector<float> xyz;
    for (size_t i = 0; i < n; ++i) {
        xyz.push_back(table[i % table.size()].value);
        xyz.push_back(table[(i + 3) % table.size()].value);
        xyz.push_back(table[(i + 7) % table.size()].value);
    }
    return xyz;
}

namespace {
std::string Padded(const std::string& text) {
    return text + std::string(text.size() < 15 ? 15 - text.size() : 0, ' ');
}
}  // namespace

std::string ExpectedWaveFile(size_t n) {
    const auto& table = KnownValueTexts();
    std::string text = Padded("Acc_X(g)") + Padded("Acc_Y(g)") + Padded("Acc_Z(g)") + "\r\n";
    for (size_t i = 0; i < n; ++i) {
        text += Padded(table[i % table.size()].text);
        text += Padded(table[(i + 3) % table.size()].text);
        text += Padded(table[(i + 7) % table.size()].text);
        text += "\r\n";
    }
    return text + "\r\n";
}

std::vector<uint8_t> KnownPacketStream(size_t packets, float rate) {
    const std::vector<float> all = KnownSamples(116 * packets);
    std::vector<uint8_t> stream;
    for (size_t p = 0; p < packets; ++p) {
        const std::vector<float> block(all.begin() + long(348 * p),
                                       all.begin() + long(348 * (p + 1)));
        const auto packet = MakeWavePacket(int32_t(p + 1), rate, block);
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    return stream;
}

}  // namespace orsan::test
