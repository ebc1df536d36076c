#include "TrendPrefill.h"

#include <algorithm>

#include "RecordDatabase.h"
#include "SensorRangeReader.h"

namespace orsan {

std::optional<std::vector<TrendPoint>> ReadRecordedTrend(RecordDatabase& database, int sensor,
                                                         qint64 nowMs, int trendPeriodMs,
                                                         QString* error) {
    const RecordRange range =
        RecordRange::Between(nowMs - qint64(TrendHistory::kCapacity) * trendPeriodMs, nowMs);
    SensorRangeReader reader(database, sensor, range, SensorRangeReader::Order::Newest,
                             TrendHistory::kCapacity);
    std::vector<TrendPoint> points;
    while (reader.Next()) points.push_back({reader.Sample(), reader.Fresh()});
    if (!reader.Error().isEmpty()) {
        if (error) *error = reader.Error();
        return std::nullopt;
    }
    std::reverse(points.begin(), points.end());
    return points;
}

}  // namespace orsan
