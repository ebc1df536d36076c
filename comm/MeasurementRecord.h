#pragma once

#include <array>
#include <cstdint>

namespace orsan {

// One sensor's decoded measurement registers (0..66 and 133).
struct MeasurementRecord {
    float T_Shell = 0;  // register 0, signed, 0.01 degC
    float Vel_X = 0, Vel_Y = 0, Vel_Z = 0;                 // 1..3, 0.01 mm/s
    float Acc_X = 0, Acc_Y = 0, Acc_Z = 0;                 // 4..6, 0.01 m/ss
    float DispAux_X = 0, DispAux_Y = 0, DispAux_Z = 0;     // 7..9, 1
    float VelAux_X = 0, VelAux_Y = 0, VelAux_Z = 0;        // 10..12, 0.01
    float AccAux_X = 0, AccAux_Y = 0, AccAux_Z = 0;        // 13..15, 0.01
    float Disp_X = 0, Disp_Y = 0, Disp_Z = 0;              // 16..18, 1 um
    std::array<float, 8> Spectrum_X{};                     // 19..26, 0.01 mm/s
    float AuxOrderEnergy_X = 0;                            // 27, 0.01
    float AuxOrder_X = 0;                                  // 28, 0.1
    float TopOrderEnergy_X = 0;                            // 29, 0.01 m/ss
    float TopOrder_X = 0;                                  // 30, 0.1
    std::array<float, 8> Spectrum_Y{};                     // 31..38
    float AuxOrderEnergy_Y = 0;                            // 39
    float AuxOrder_Y = 0;                                  // 40
    float TopOrderEnergy_Y = 0;                            // 41
    float TopOrder_Y = 0;                                  // 42
    std::array<float, 8> Spectrum_Z{};                     // 43..50
    float AuxOrderEnergy_Z = 0;                            // 51
    float AuxOrder_Z = 0;                                  // 52
    float TopOrderEnergy_Z = 0;                            // 53
    float TopOrder_Z = 0;                                  // 54
    std::array<float, 4> AuxValues_X{};                    // 55..58, 0.01
    std::array<float, 4> AuxValues_Y{};                    // 59..62
    std::array<float, 4> AuxValues_Z{};                    // 63..66
    float RunningSpeed = 0;                                // 133, 0.01 Hz
    bool CommOk = false;
};

// The two reads of one visit.
inline constexpr uint16_t kMeasurementFirstRegister = 0;
inline constexpr uint16_t kMeasurementRegisterCount = 72;
inline constexpr uint16_t kRunningSpeedRegister = 133;

// raw (sign-extended when isSigned) times scale in double, rounded once to float.
float ScaleRegister(uint16_t raw, double scale, bool isSigned = false);

// Decodes registers 0..66 of a 72-register block into record (RunningSpeed
// and CommOk untouched).
void DecodeMeasurementBlock(const std::array<uint16_t, kMeasurementRegisterCount>& registers,
                            MeasurementRecord& record);

// Register 133.
float DecodeRunningSpeed(uint16_t raw);

}  // namespace orsan
