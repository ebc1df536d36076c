#pragma once

#include <array>
#include <cstdint>

namespace orsan::sim {

// Holding registers 0 .. kRegisterCount-1 are served; those that mean
// nothing read as 0.
inline constexpr int kRegisterCount = 200;
using RegisterBlock = std::array<uint16_t, kRegisterCount>;

inline constexpr int kRegTemperature = 0;
inline constexpr int kRegVelocity = 1;                 // X, Y, Z
inline constexpr int kRegAcceleration = 4;             // X, Y, Z
inline constexpr int kRegDispAux = 7;                  // X, Y, Z
inline constexpr int kRegVelAux = 10;                  // X, Y, Z
inline constexpr int kRegAccAux = 13;                  // X, Y, Z
inline constexpr int kRegDisplacement = 16;            // X, Y, Z
inline constexpr int kRegAxisBlock[3] = {19, 31, 43};  // spectrum[8], aux energy, aux order,
                                                       // top energy, top order
inline constexpr int kRegAuxValues = 55;               // 4 per axis
inline constexpr int kRegRunningSpeed = 133;

// Configuration registers.
inline constexpr int kRegManualSpeed = 67;
inline constexpr int kRegSaveCommand = 76;
inline constexpr uint16_t kSaveCommandValue = 11;
inline constexpr int kRegVelocityBand = 77;            // low, high (Hz)
inline constexpr int kRegAccelerationBand = 79;        // low, high (Hz)
inline constexpr int kRegDisplacementBand = 81;        // low, high (Hz)
inline constexpr int kRegComponentCoefficients = 103;  // five, x0.01
inline constexpr int kRegGateway = 111;
inline constexpr int kRegSubnetMask = 113;
inline constexpr int kRegDns = 115;
inline constexpr int kRegSensorAddress = 117;
inline constexpr int kRegTransmissionRatio = 120;
inline constexpr int kRegSpeedSource = 130;  // 0 automatic, 1 manual (register 67)
inline constexpr int kRegSpeedMode = 131;    // 0 mains frequency, 1 variable frequency
inline constexpr int kRegRatedSpeed = 132;   // x0.01 Hz

inline constexpr std::array<int, 25> kConfigRegisters{67,  76,  77,  78,  79,  80,  81,  82,  103,
                                                      104, 105, 106, 107, 111, 112, 113, 114, 115,
                                                      116, 117, 118, 120, 130, 131, 132};

bool IsConfigRegister(int reg);
// Registers computed from the machine's state (0..71 except 67, and 133).
bool IsMeasurementRegister(int reg);

// An IPv4 address as the sensor keeps it: two registers, low byte first,
// "a.b.c.d" -> (b << 8 | a, d << 8 | c).
std::array<uint16_t, 2> EncodeAddressPair(uint8_t a, uint8_t b, uint8_t c, uint8_t d);

}  // namespace orsan::sim
