#include "RecordSummaryBands.h"

#include <bitset>
#include <cmath>

namespace orsan {

bool ReadSummaryBands(RecordDatabase& database, double from, double to, HistoryDetail detail,
                      const std::vector<SummaryCurve>& curves, const std::vector<QColor>& colors,
                      HistoryBands* bands, QString* error) {
    *bands = HistoryBands();
    bands->detail = detail;
    if (!database.HasSummaries() || detail == HistoryDetail::Raw) return false;
    // The last rows written too; a file that may only be read shows what it holds.
    if (database.PendingSummaryRows() > 0) database.CatchUpSummaries();
    const SummaryGrain grain =
        detail == HistoryDetail::Hourly ? SummaryGrain::Hour : SummaryGrain::Day;
    std::vector<std::vector<SummaryBin>> bins;
    if (!ReadSummaryBins(database.Connection(), grain, qint64(std::floor(from)),
                         qint64(std::ceil(to)), curves, &bins, error))
        return false;
    bands->curves.resize(curves.size());
    std::bitset<kRecordSlots + 1> counted;
    for (size_t c = 0; c < curves.size(); ++c) {
        BandCurve& curve = bands->curves[c];
        curve.quantity = curves[c].quantity;
        curve.color = c < colors.size() ? colors[c] : CurveColors()[size_t(curve.quantity)];
        curve.bins.reserve(bins[c].size());
        // A sensor's readings count once, whatever number of its values are drawn.
        const bool count = !counted.test(size_t(curves[c].sensor));  // 1..6, checked by the read
        counted.set(size_t(curves[c].sensor));
        for (const SummaryBin& bin : bins[c]) {
            curve.bins.push_back({double(bin.start), bin.low, bin.mean, bin.high});
            if (count) bands->readings += bin.readings;
        }
    }
    return true;
}

}  // namespace orsan
