#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace orsan {

// The sensor's waveform exchange: one 12-byte request, then a plain stream of
// 1420-byte packets until the sensor closes the connection.
inline constexpr uint16_t kWavePort = 22010;
inline constexpr size_t kWaveRequestSize = 12;
inline constexpr size_t kWavePacketSize = 1420;
inline constexpr size_t kWaveBlockOffset = 24;
inline constexpr size_t kWaveSamplesPerPacket = 116;
inline constexpr size_t kWaveBlockFloats = kWaveSamplesPerPacket * 3;
inline constexpr size_t kWaveBlockBytes = kWaveBlockFloats * 4;  // 1392
inline constexpr int kWaveSamplesPerSecond = 26667;
inline constexpr int kWaveMinSeconds = 1;
inline constexpr int kWaveMaxSeconds = 10;
// Room per axis: ten seconds at the nominal rate, with a little margin.
inline constexpr size_t kWaveMaxSamplesPerAxis = 270000;
inline constexpr float kWaveResetSampleRate = 26666.0f;

using WaveRequest = std::array<uint8_t, kWaveRequestSize>;

// "WVQS", duration as 32-bit little-endian, "WVQT".
WaveRequest BuildWaveRequest(int32_t durationSeconds);

uint32_t ReadLe32(const uint8_t* p);
float ReadLeFloat(const uint8_t* p);

// Fields of a complete packet.
float PacketSampleRate(const uint8_t* packet);
int32_t PacketNumber(const uint8_t* packet);
inline const uint8_t* PacketBlock(const uint8_t* packet) {
    return packet + kWaveBlockOffset;
}

// printf into a std::string, with the C locale's decimal point whatever the
// process locale is.
std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace orsan
