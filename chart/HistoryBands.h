#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "TrendGeometry.h"
#include "TrendStyle.h"

class QPainter;

namespace orsan {

// What the history chart draws: the rows themselves, or per curve a band
// from the lowest to the highest reading of each hour or day with their
// mean as a line.
enum class HistoryDetail { Raw, Hourly, Daily };

// Ranges up to two days show the rows; longer ones the hourly summaries
// while an hour still gets two pixel columns, else the daily ones.
constexpr double kRawHistorySeconds = 2 * 86400.0;
HistoryDetail ChooseHistoryDetail(double seconds, int plotWidth);
double DetailSpanSeconds(HistoryDetail detail);  // 0 for Raw

// The short text on the chart that says which it shows.
QString HistoryDetailText(HistoryDetail detail);

struct BandBin {
    double start = 0;  // seconds; the span lasts DetailSpanSeconds
    double low = 0;
    double mean = 0;
    double high = 0;
};

// One curve's spans in time order: drawn on the axis of `quantity` (curve
// index, T_Shell ... Disp_Z) in `color`.
struct BandCurve {
    int quantity = 0;
    QColor color;
    std::vector<BandBin> bins;
};

struct HistoryBands {
    HistoryDetail detail = HistoryDetail::Hourly;
    std::vector<BandCurve> curves;
    int64_t readings = 0;  // the fresh readings the spans summarise
};

// The curves whose quantity is visible, inside the plot: spans that follow
// one another make one translucent band and one mean line, a missing span
// breaks both.
void PaintHistoryBands(QPainter& painter, const HistoryBands& bands, const TrendTimeRange& range,
                       const EdgeRect& plot, const TrendLimits& limits,
                       const std::array<int, kCurveCount>& visible);

// HistoryDetailText in the plot's top left corner.
void PaintHistoryDetail(QPainter& painter, const EdgeRect& plot, HistoryDetail detail);

}  // namespace orsan
