#include "RecordSummaryBands.h"

#include <algorithm>
#include <bitset>
#include <cmath>

namespace orsan {

namespace {

constexpr double kReservedSpans = 4096;

}  // namespace

bool ReadSummaryBands(RecordDatabase& database, double from, double to, HistoryDetail detail,
                      const std::vector<SummaryCurve>& curves, const std::vector<QColor>& colors,
                      HistoryBands* bands, QString* error) {
    bands->detail = detail;
    bands->readings = 0;
    if (!database.HasSummaries() || detail == HistoryDetail::Raw) {
        bands->curves.clear();
        return false;
    }
    // The last rows written too; a file that may only be read shows what it holds.
    if (database.PendingSummaryRows() > 0 || database.SummariesBehind())
        database.CatchUpSummaries();
    const SummaryGrain grain =
        detail == HistoryDetail::Hourly ? SummaryGrain::Hour : SummaryGrain::Day;
    // Room for every span of the range at once (a hint: local days may be
    // shorter), bounded against absurd ranges.
    const size_t spans = size_t(std::clamp((to - from) / double(SummarySpanSeconds(grain)) + 2, 0.0,
                                           double(kReservedSpans)));
    // The bins of the last read keep their memory: the chart reads into the same bands.
    bands->curves.resize(curves.size());
    // A sensor's readings count once, whatever number of its values are drawn.
    std::vector<char> counts(curves.size());
    std::bitset<kRecordSlots + 1> counted;
    for (size_t c = 0; c < curves.size(); ++c) {
        bands->curves[c].bins.clear();
        bands->curves[c].bins.reserve(spans);
        // Within the bitset before the read turns a wrong sensor down.
        const size_t sensor = size_t(std::clamp(curves[c].sensor, 0, kRecordSlots));
        counts[c] = !counted.test(sensor);
        counted.set(sensor);
    }
    const auto take = [bands, &counts](size_t c, const SummaryBin& bin) {
        bands->curves[c].bins.push_back({double(bin.start), bin.low, bin.mean, bin.high});
        if (counts[c]) bands->readings += bin.readings;
    };
    if (!ReadSummaryBins(database.Connection(), grain, qint64(std::floor(from)),
                         qint64(std::ceil(to)), curves, take, error)) {
        bands->curves.clear();
        bands->readings = 0;
        return false;
    }
    for (size_t c = 0; c < curves.size(); ++c) {  // quantities checked by the read
        BandCurve& curve = bands->curves[c];
        curve.quantity = curves[c].quantity;
        curve.color = c < colors.size() ? colors[c] : CurveColors()[size_t(curve.quantity)];
    }
    return true;
}

}  // namespace orsan
