#pragma once

#include <QString>
#include <cstdint>

#include "RecordRow.h"

namespace orsan::test {

// Record n: base + n * 0.5 s; sensor s's value k (0 = T_Shell ... 9 = Disp_Z)
// distinct per record, sensor and value and exact in one or two decimals.
inline constexpr int64_t kBaseTime = 1714523415;
RecordRow KnownRow(int n);
float KnownValue(int n, int sensor, int k);
int64_t KnownTimeMs(int n);

// Writes records first .. first + count - 1 into folder/DataRecord.db
// (creating it) through the record database, as the station does.
void WriteKnownRows(const QString& folder, int first, int count);

}  // namespace orsan::test
