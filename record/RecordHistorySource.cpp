#include "RecordHistorySource.h"

#include <cmath>

#include "HistoryRowReader.h"
#include "RecordSummaryBands.h"

namespace orsan {

qint64 SecondsToMs(double seconds) {
    return std::llround(seconds * 1000.0);
}

RecordHistorySource::RecordHistorySource(RecordDatabase& database) : database_(database) {}

bool RecordHistorySource::ReadRows(const std::vector<HistoryCurve>& curves, double from,
                                   double to, HistoryReduction& into, QString* error) {
    HistoryRowReader reader(database_, curves,
                            RecordRange::Between(SecondsToMs(from), SecondsToMs(to)));
    std::array<float, kCurveCount> values{};
    while (reader.Next()) {
        // A stale reading, a NULL or a text is no number: a gap, never a 0.
        reader.Values(values);
        into.Add(double(reader.TimeMs()) / 1000.0, values);
    }
    if (reader.Error().isEmpty()) return true;
    if (error) *error = reader.Error();
    return false;
}

bool RecordHistorySource::ReadBands(const std::vector<HistoryCurve>& curves,
                                    const std::vector<QColor>& colors, double from, double to,
                                    HistoryDetail detail, HistoryBands* bands, QString* error) {
    std::vector<SummaryCurve> pairs;
    for (const HistoryCurve& curve : curves) pairs.push_back({curve.sensor, curve.quantity});
    return ReadSummaryBands(database_, from, to, detail, pairs, colors, bands, error);
}

bool RecordHistorySource::NearestRow(const std::vector<HistoryCurve>& curves, double at,
                                     double from, double to, std::optional<HistoryRow>* row,
                                     QString* error) {
    row->reset();
    const qint64 atMs = SecondsToMs(at);
    qint64 bestDistance = 0;
    // The last row up to the instant and the first from it on; the earlier
    // one wins a tie.
    const RecordRange sides[] = {RecordRange::Between(SecondsToMs(from), atMs),
                                 RecordRange::Between(atMs, SecondsToMs(to))};
    const HistoryRowReader::Order orders[] = {HistoryRowReader::Order::Newest,
                                              HistoryRowReader::Order::Oldest};
    for (int side = 0; side < 2; ++side) {
        HistoryRowReader reader(database_, curves, sides[side], orders[side], 1);
        if (reader.Next()) {
            const qint64 distance = std::llabs(reader.TimeMs() - atMs);
            if (!*row || distance < bestDistance) {
                *row = reader.Row();
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
