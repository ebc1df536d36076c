#include "TrendPrefill.h"

#include <algorithm>
#include <array>

#include "RecordColumns.h"
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
    while (reader.Next()) {
        TrendPoint point{reader.Sample(), reader.Fresh()};
        // Like a live stale sample: its stored values, drawn as a gap.
        std::array<float, kRecordValuesPerSlot> stored{};
        for (int k = 0; k < kRecordValuesPerSlot; ++k)
            stored[size_t(SlotValueIndexOfCurve(k))] = float(reader.Value(k));
        SetSlotValues(point.sample, stored);
        points.push_back(point);
    }
    if (!reader.Error().isEmpty()) {
        if (error) *error = reader.Error();
        return std::nullopt;
    }
    std::reverse(points.begin(), points.end());
    return points;
}

}  // namespace orsan
