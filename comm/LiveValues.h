#pragma once

#include <array>

#include "MeasurementRecord.h"
#include "SensorSample.h"

namespace orsan {

inline constexpr int kSensorCount = 6;
inline constexpr int kLiveSlots = 22;

// Slot numbers of a LiveValues row.
enum LiveSlot : int {
    kSlotAccX = 0,
    kSlotVelX = 1,
    kSlotDispX = 2,
    kSlotAccY = 3,
    kSlotVelY = 4,
    kSlotDispY = 5,
    kSlotAccZ = 6,
    kSlotVelZ = 7,
    kSlotDispZ = 8,
    kSlotTShell = 9,
    kSlotSpectrumZ0 = 10,  // 0.5X .. 6.0X in slots 10..17
    kSlotTopOrderZ = 18,
    kSlotTopOrderEnergyZ = 19,
    kSlotRunningSpeed = 20,
    kSlotUnused = 21,
};

using LiveRow = std::array<float, kLiveSlots>;
// Row r is sensor r + 1.
using LiveValues = std::array<LiveRow, kSensorCount>;

// Writes the 21 used slots of one row from a record, whatever CommOk says.
void FillLiveValues(LiveRow& row, const MeasurementRecord& record);
void FillLiveValues(LiveValues& table, int sensorId, const MeasurementRecord& record);

// The ten sample values of a row (slots 9, 0, 3, 6, 1, 4, 7, 2, 5, 8), with
// the given time stamp.
SensorSample SampleFromLiveRow(const LiveRow& row, int32_t time, uint16_t milliseconds);

}  // namespace orsan
