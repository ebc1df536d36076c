#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <bitset>

#include "StationConfig.h"

namespace orsan {

// Bit n-1: sensor n is configured (its address is not 0.0.0.0).
using SensorSelection = std::bitset<kSensorCount>;

// The table data_sensors beside `data` in DataRecord.db: from which rowid of
// `data` on which sensors were configured, one row per change. A row of
// `data` holds all six slots whatever was configured, so the store learns
// here which of them were really recorded.
inline constexpr const char* kSensorHistoryTable = "data_sensors";

// Notes `sensors` as configured from the next row of `data` on; a selection
// equal to the one in force adds nothing. One transaction; an empty error
// on success.
QSqlError NoteSensorSelection(QSqlDatabase db, SensorSelection sensors);

// Inside the transaction that emptied `data` (rowids start again at 1): the
// selection in force applies from the first row; older entries go.
QSqlError RestartSensorHistory(QSqlDatabase db);

}  // namespace orsan
