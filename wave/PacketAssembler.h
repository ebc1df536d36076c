#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "Diagnostics.h"
#include "WaveProtocol.h"

namespace orsan {

// Cuts the sensor's byte stream into 1420-byte packets whatever the receive
// boundaries are. Bytes of an unfinished packet wait for the next receive.
class PacketAssembler {
public:
    using PacketHandler = std::function<void(const uint8_t* packet)>;

    explicit PacketAssembler(TraceSink trace = {});

    // Adds the bytes of one receive; calls onPacket for every packet they
    // complete, in order. Returns the number of packets completed.
    int Feed(const uint8_t* data, size_t n, const PacketHandler& onPacket);

    // Bytes of the unfinished packet.
    size_t Pending() const { return count_; }
    void Reset() { count_ = 0; }

private:
    void Trace(const std::string& line) const;

    std::array<uint8_t, kWavePacketSize> area_{};
    size_t count_ = 0;
    TraceSink trace_;
};

}  // namespace orsan
