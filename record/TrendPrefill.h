#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

#include "TrendHistory.h"

namespace orsan {

class RecordDatabase;

// The trend of sensor 1..6 as the record holds it for the last
// TrendHistory::kCapacity trend periods before nowMs: at most that many of
// the newest rows, oldest first, through the Time index. A stale reading
// comes back unmeasured with its stored values, as the live trend holds
// one, so it stays a gap.
// Empty with the reason in *error when the rows cannot be read.
std::optional<std::vector<TrendPoint>> ReadRecordedTrend(RecordDatabase& database, int sensor,
                                                         qint64 nowMs, int trendPeriodMs,
                                                         QString* error);

}  // namespace orsan
