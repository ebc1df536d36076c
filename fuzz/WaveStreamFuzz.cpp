// Waveform stream reassembly: a stream of whole and partial 1420-byte packets
// fed in pieces cut at fuzzed points. Every completed packet must equal the
// stream's bytes at its offset, in order; the bytes after the last whole
// packet wait as the unfinished one; nothing is lost or invented.
#include <cstring>

#include "FuzzInput.h"
#include "PacketAssembler.h"

using namespace orsan;
using namespace orsan::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    std::vector<size_t> cuts(in.Byte() % 16);
    for (size_t& cut : cuts) cut = in.Word();
    // Short inputs still cover several packets: the rest is repeated.
    const size_t repeats = 1 + in.Byte() % 4;
    const std::vector<uint8_t> tail = in.Rest();
    std::vector<uint8_t> stream;
    for (size_t r = 0; r < repeats; ++r) stream.insert(stream.end(), tail.begin(), tail.end());

    PacketAssembler assembler;
    size_t packets = 0;
    const auto onPacket = [&](const uint8_t* packet) {
        const size_t at = packets * kWavePacketSize;
        FUZZ_CHECK(at + kWavePacketSize <= stream.size());
        FUZZ_CHECK(std::memcmp(packet, stream.data() + at, kWavePacketSize) == 0);
        ++packets;
    };
    size_t fed = 0;
    for (const size_t piece : PieceLengths(stream.size(), cuts)) {
        const size_t before = packets;
        const int completed = assembler.Feed(stream.data() + fed, piece, onPacket);
        fed += piece;
        FUZZ_CHECK(size_t(completed) == packets - before);
        FUZZ_CHECK(packets == fed / kWavePacketSize);
        FUZZ_CHECK(assembler.Pending() == fed % kWavePacketSize);
    }
    FUZZ_CHECK(packets == stream.size() / kWavePacketSize);

    // The unfinished packet holds exactly the stream's last bytes: completing
    // it with filler yields them followed by the filler.
    const size_t pending = assembler.Pending();
    if (pending == 0) return 0;
    std::vector<uint8_t> expected(stream.end() - long(pending), stream.end());
    expected.resize(kWavePacketSize, 0x5A);
    const std::vector<uint8_t> filler(kWavePacketSize - pending, 0x5A);
    bool seen = false;
    assembler.Feed(filler.data(), filler.size(), [&](const uint8_t* packet) {
        FUZZ_CHECK(std::memcmp(packet, expected.data(), kWavePacketSize) == 0);
        seen = true;
    });
    FUZZ_CHECK(seen && assembler.Pending() == 0);
    return 0;
}
