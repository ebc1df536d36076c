#include "RecordHistorySource.h"

#include <cmath>

#include "RecordSummaryBands.h"
#include "SensorRangeReader.h"

namespace orsan {

qint64 SecondsToMs(double seconds) {
    return std::llround(seconds * 1000.0);
}

RecordHistorySource::RecordHistorySource(RecordDatabase& database, int sensor)
    : database_(database), sensor_(sensor) {}

bool RecordHistorySource::ReadRows(double from, double to, HistoryReduction& into, QString* error) {
    SensorRangeReader reader(database_, sensor_,
                             RecordRange::Between(SecondsToMs(from), SecondsToMs(to)));
    std::array<float, kCurveCount> values{};
    while (reader.Next()) {
        // A stale reading, a NULL or a text is no number: a gap, never a 0.
        reader.PlotValues(values);
        into.Add(double(reader.TimeMs()) / 1000.0, values);
    }
    if (reader.Error().isEmpty()) return true;
    if (error) *error = reader.Error();
    return false;
}

bool RecordHistorySource::ReadBands(double from, double to, HistoryDetail detail,
                                    HistoryBands* bands, QString* error) {
    std::vector<SummaryCurve> curves;
    for (int k = 0; k < kCurveCount; ++k) curves.push_back({sensor_, k});
    return ReadSummaryBands(database_, from, to, detail, curves, {}, bands, error);
}

bool RecordHistorySource::NearestRow(double at, double from, double to,
                                     std::optional<SensorSample>* row, QString* error) {
    row->reset();
    const qint64 atMs = SecondsToMs(at);
    qint64 bestDistance = 0;
    // The last row up to the instant and the first from it on; the earlier
    // one wins a tie.
    const RecordRange sides[] = {RecordRange::Between(SecondsToMs(from), atMs),
                                 RecordRange::Between(atMs, SecondsToMs(to))};
    const SensorRangeReader::Order orders[] = {SensorRangeReader::Order::Newest,
                                               SensorRangeReader::Order::Oldest};
    for (int side = 0; side < 2; ++side) {
        SensorRangeReader reader(database_, sensor_, sides[side], orders[side], 1);
        if (reader.Next()) {
            const qint64 distance = std::llabs(reader.TimeMs() - atMs);
            if (!*row || distance < bestDistance) {
                *row = reader.Sample();
                bestDistance = distance;
            }
        }
        if (!reader.Error().isEmpty()) {
            if (error) *error = reader.Error();
            return false;
        }
    }
    return true;
}

}  // namespace orsan
