#pragma once

#include <QString>
#include <array>

#include "SensorSample.h"

namespace orsan {

// Layout of the table `data`: Time, msTime, then ten values per sensor slot.
inline constexpr int kRecordSlots = 6;
inline constexpr int kRecordValuesPerSlot = 10;
inline constexpr int kRecordColumnCount = 2 + kRecordSlots * kRecordValuesPerSlot;  // 62

// After the values, one freshness column per slot, "Ok1" ... "Ok6" (INTEGER:
// 1 the slot's values are a fresh reading, 0 they are not; NULL in rows
// written before the column existed, which count as fresh).
inline constexpr int kRecordTableColumnCount = kRecordColumnCount + kRecordSlots;  // 68

// Column name by position 0..61 ("Time", "msTime", "Temp1" ... "Zdisp6").
const QString& RecordColumnName(int column);

// All 62 names, comma separated, for SELECT and INSERT lists.
const QString& RecordColumnList();

// "Ok<slot>" (slot 1..6).
QString FreshnessColumnName(int slot);
// A slot's stale rows, "Ok<slot> = 0", and the partial index over their
// Time that holds only them, "data_stale<slot>".
QString StaleRowCondition(int slot);
QString StaleIndexName(int slot);
// "data_stale<slot> ON data(Time) WHERE Ok<slot> = 0": the index as made.
QString StaleIndexSql(int slot);

// The ten columns of one slot (1..6), in table order.
std::array<QString, kRecordValuesPerSlot> SlotColumnNames(int slot);

// A slot's values in table order: T_Shell, Acc_X, Vel_X, Disp_X, Acc_Y,
// Vel_Y, Disp_Y, Acc_Z, Vel_Z, Disp_Z.
std::array<float, kRecordValuesPerSlot> SlotValues(const SensorSample& sample);
void SetSlotValues(SensorSample& sample, const std::array<float, kRecordValuesPerSlot>& values);

// Temperatures and displacements keep one decimal, accelerations and
// velocities two (index 0..9 within a slot).
bool IsOneDecimalValue(int valueIndex);

// The text a row stores for a value: "%1.1f" or "%1.2f".
QString FormatRecordValue(int valueIndex, float value);

}  // namespace orsan
