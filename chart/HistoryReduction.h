#pragma once

#include <QColor>
#include <QPoint>
#include <array>
#include <bitset>
#include <cstdint>
#include <vector>

#include "TrendGeometry.h"
#include "TrendStyle.h"

class QPainter;

namespace orsan {

// The rows that fall on one pixel column of the plot: how many, the time
// from the row before to the first of them, and per curve the first,
// lowest, highest and last value. Drawn as first -> lowest -> highest ->
// last these cover exactly the pixels a line through every row covers.
// A row without a value for a curve (NaN: a stale reading, a NULL or a
// text) breaks that curve's line; first and last are NaN when the column
// holds no value for the curve.
struct HistoryColumn {
    int64_t rows = 0;
    double gapBefore = -1;  // seconds; -1 when no row came before
    std::array<float, kCurveCount> first{};
    std::array<float, kCurveCount> low{};
    std::array<float, kCurveCount> high{};
    std::array<float, kCurveCount> last{};
    std::bitset<kCurveCount> breakBefore;  // a row without a value before `first`
    std::bitset<kCurveCount> breakAfter;   // a row without a value after `last`
};

// Reduces one sensor's rows of a time range to one column per pixel of the
// plot, so a day of rows at 0.3 s costs the chart no more than ten minutes.
// Rows come in time order.
class HistoryReduction {
public:
    void Reset(const TrendTimeRange& range, const EdgeRect& plot);
    // One row: its place on the time axis (seconds with milliseconds) and
    // its ten values in curve order.
    void Add(double position, const std::array<float, kCurveCount>& values);

    // Two rows further apart than this are drawn with a gap between them:
    // three times the median time between rows, and at least 2 s, so a
    // lost row or two still join up while a stop of the recording shows.
    double GapSeconds() const;

    int64_t RowCount() const { return rows_; }
    const std::vector<HistoryColumn>& Columns() const { return columns_; }  // x - plot.left
    const TrendTimeRange& Range() const { return range_; }
    const EdgeRect& Plot() const { return plot_; }

private:
    TrendTimeRange range_;
    EdgeRect plot_;
    TimeColumns columnOf_{TrendTimeRange(), EdgeRect()};  // scale worked out once per Reset
    std::vector<HistoryColumn> columns_;
    std::vector<float> spacings_;
    double previous_ = 0;
    int64_t rows_ = 0;
};

// How one slot of a reduction is drawn: its colour, its value axis and
// whether it shows at all.
struct SlotLook {
    QColor color;
    int axis = 0;
    bool visible = false;
};
using SlotLooks = std::array<SlotLook, kCurveCount>;

// The visible slots of a reduction inside its plot, 1-pixel pens in their
// colours; a run of rows without a gap in time or in the values is one
// polyline, a lone row a dot. On a 32-bit image opaque colours are written
// straight into its pixels, the same pixels the painter would set.
void PaintReducedCurves(QPainter& painter, const HistoryReduction& reduction,
                        const TrendLimits& limits, const SlotLooks& looks);
// One sensor's ten curves: slot k is curve k in its colour on its axis.
void PaintReducedCurves(QPainter& painter, const HistoryReduction& reduction,
                        const TrendLimits& limits, const std::array<int, kCurveCount>& visible);

// Whether any row of the reduction holds a value for the slot.
bool SlotHasValues(const HistoryReduction& reduction, int slot);

// A polyline of count points, or a dot for one.
void PaintRun(QPainter& painter, const QPoint* points, int count);

}  // namespace orsan
