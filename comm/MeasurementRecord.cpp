#include "MeasurementRecord.h"

#include "LiveValues.h"

namespace orsan {

float ScaleRegister(uint16_t raw, double scale, bool isSigned) {
    const double value = isSigned ? double(int16_t(raw)) : double(raw);
    return float(value * scale);
}

namespace {

void DecodeAxisBlock(const uint16_t* r, std::array<float, 8>& spectrum, float& auxOrderEnergy,
                     float& auxOrder, float& topOrderEnergy, float& topOrder) {
    for (int i = 0; i < 8; ++i) spectrum[i] = ScaleRegister(r[i], 0.01);
    auxOrderEnergy = ScaleRegister(r[8], 0.01);
    auxOrder = ScaleRegister(r[9], 0.1);
    topOrderEnergy = ScaleRegister(r[10], 0.01);
    topOrder = ScaleRegister(r[11], 0.1);
}

void DecodeFour(const uint16_t* r, std::array<float, 4>& out) {
    for (int i = 0; i < 4; ++i) out[i] = ScaleRegister(r[i], 0.01);
}

}  // namespace

void DecodeMeasurementBlock(const std::array<uint16_t, kMeasurementRegisterCount>& reg,
                            MeasurementRecord& rec) {
    rec.T_Shell = ScaleRegister(reg[0], 0.01, true);
    rec.Vel_X = ScaleRegister(reg[1], 0.01);
    rec.Vel_Y = ScaleRegister(reg[2], 0.01);
    rec.Vel_Z = ScaleRegister(reg[3], 0.01);
    rec.Acc_X = ScaleRegister(reg[4], 0.01);
    rec.Acc_Y = ScaleRegister(reg[5], 0.01);
    rec.Acc_Z = ScaleRegister(reg[6], 0.01);
    rec.DispAux_X = ScaleRegister(reg[7], 1);
    rec.DispAux_Y = ScaleRegister(reg[8], 1);
    rec.DispAux_Z = ScaleRegister(reg[9], 1);
    rec.VelAux_X = ScaleRegister(reg[10], 0.01);
    rec.VelAux_Y = ScaleRegister(reg[11], 0.01);
    rec.VelAux_Z = ScaleRegister(reg[12], 0.01);
    rec.AccAux_X = ScaleRegister(reg[13], 0.01);
    rec.AccAux_Y = ScaleRegister(reg[14], 0.01);
    rec.AccAux_Z = ScaleRegister(reg[15], 0.01);
    rec.Disp_X = ScaleRegister(reg[16], 1);
    rec.Disp_Y = ScaleRegister(reg[17], 1);
    rec.Disp_Z = ScaleRegister(reg[18], 1);
    DecodeAxisBlock(&reg[19], rec.Spectrum_X, rec.AuxOrderEnergy_X, rec.AuxOrder_X,
                    rec.TopOrderEnergy_X, rec.TopOrder_X);
    DecodeAxisBlock(&reg[31], rec.Spectrum_Y, rec.AuxOrderEnergy_Y, rec.AuxOrder_Y,
                    rec.TopOrderEnergy_Y, rec.TopOrder_Y);
    DecodeAxisBlock(&reg[43], rec.Spectrum_Z, rec.AuxOrderEnergy_Z, rec.AuxOrder_Z,
                    rec.TopOrderEnergy_Z, rec.TopOrder_Z);
    DecodeFour(&reg[55], rec.AuxValues_X);
    DecodeFour(&reg[59], rec.AuxValues_Y);
    DecodeFour(&reg[63], rec.AuxValues_Z);
}

float DecodeRunningSpeed(uint16_t raw) { return ScaleRegister(raw, 0.01); }

void FillLiveValues(LiveRow& row, const MeasurementRecord& r) {
    row[kSlotAccX] = r.Acc_X;
    row[kSlotVelX] = r.Vel_X;
    row[kSlotDispX] = r.Disp_X;
    row[kSlotAccY] = r.Acc_Y;
    row[kSlotVelY] = r.Vel_Y;
    row[kSlotDispY] = r.Disp_Y;
    row[kSlotAccZ] = r.Acc_Z;
    row[kSlotVelZ] = r.Vel_Z;
    row[kSlotDispZ] = r.Disp_Z;
    row[kSlotTShell] = r.T_Shell;
    for (int i = 0; i < 8; ++i) row[kSlotSpectrumZ0 + i] = r.Spectrum_Z[i];
    row[kSlotTopOrderZ] = r.TopOrder_Z;
    row[kSlotTopOrderEnergyZ] = r.TopOrderEnergy_Z;
    row[kSlotRunningSpeed] = r.RunningSpeed;
}

void FillLiveValues(LiveValues& table, int sensorId, const MeasurementRecord& record) {
    if (sensorId < 1 || sensorId > kSensorCount) return;
    FillLiveValues(table[sensorId - 1], record);
}

SensorSample SampleFromLiveRow(const LiveRow& row, int32_t time, uint16_t milliseconds) {
    SensorSample s;
    s.time = time;
    s.milliseconds = milliseconds;
    s.T_Shell = row[kSlotTShell];
    s.Acc_X = row[kSlotAccX];
    s.Acc_Y = row[kSlotAccY];
    s.Acc_Z = row[kSlotAccZ];
    s.Vel_X = row[kSlotVelX];
    s.Vel_Y = row[kSlotVelY];
    s.Vel_Z = row[kSlotVelZ];
    s.Disp_X = row[kSlotDispX];
    s.Disp_Y = row[kSlotDispY];
    s.Disp_Z = row[kSlotDispZ];
    return s;
}

}  // namespace orsan
