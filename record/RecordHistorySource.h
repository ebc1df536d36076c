#pragma once

#include "HistoryChart.h"
#include "RecordDatabase.h"

namespace orsan {

// The record database's rows for the history chart, for any curves.
class RecordHistorySource : public HistorySource {
public:
    explicit RecordHistorySource(RecordDatabase& database);

    bool ReadRows(const std::vector<HistoryCurve>& curves, double from, double to,
                  HistoryReduction& into, QString* error) override;
    bool NearestRow(const std::vector<HistoryCurve>& curves, double at, double from, double to,
                    std::optional<HistoryRow>* row, QString* error) override;
    bool ReadBands(const std::vector<HistoryCurve>& curves, const std::vector<QColor>& colors,
                   double from, double to, HistoryDetail detail, HistoryBands* bands,
                   QString* error) override;

private:
    RecordDatabase& database_;
};

// Seconds with milliseconds to whole milliseconds.
qint64 SecondsToMs(double seconds);

}  // namespace orsan
