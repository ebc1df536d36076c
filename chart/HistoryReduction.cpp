#include "HistoryReduction.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "DirectPixels.h"

namespace orsan {

namespace {

constexpr double kMinimumGapSeconds = 2.0;
constexpr double kGapMedians = 3.0;

}  // namespace

void HistoryReduction::Reset(const TrendTimeRange& range, const EdgeRect& plot) {
    range_ = range;
    plot_ = plot;
    columnOf_ = TimeColumns(range, plot);
    columns_.assign(size_t(std::max(0, plot.Width()) + 1), HistoryColumn());
    spacings_.clear();
    rows_ = 0;
}

void HistoryReduction::Add(double position, const std::array<float, kCurveCount>& values) {
    HistoryColumn& column = columns_[size_t(columnOf_(position) - plot_.left)];
    if (rows_ > 0) spacings_.push_back(float(position - previous_));
    if (column.rows == 0) {
        column.gapBefore = rows_ > 0 ? position - previous_ : -1;
        column.first.fill(std::numeric_limits<float>::quiet_NaN());
        column.last = column.first;
    }
    // Per curve: its values and breaks kept in plain words, so the loop over a
    // day of rows does no bounds checks.
    unsigned long breakBefore = column.breakBefore.to_ulong();
    unsigned long breakAfter = column.breakAfter.to_ulong();
    for (int k = 0; k < kCurveCount; ++k) {
        const float value = values[size_t(k)];
        const unsigned long bit = 1ul << k;
        if (std::isnan(value)) {
            if (std::isnan(column.first[size_t(k)])) breakBefore |= bit;
            breakAfter |= bit;
            continue;
        }
        if (std::isnan(column.first[size_t(k)])) {
            column.first[size_t(k)] = column.low[size_t(k)] = column.high[size_t(k)] = value;
        } else {
            column.low[size_t(k)] = std::min(column.low[size_t(k)], value);
            column.high[size_t(k)] = std::max(column.high[size_t(k)], value);
        }
        column.last[size_t(k)] = value;
        breakAfter &= ~bit;
    }
    column.breakBefore = breakBefore;
    column.breakAfter = breakAfter;
    ++column.rows;
    ++rows_;
    previous_ = position;
}

double HistoryReduction::GapSeconds() const {
    if (spacings_.empty()) return kMinimumGapSeconds;
    std::vector<float> spacings = spacings_;
    const auto middle = spacings.begin() + ptrdiff_t(spacings.size() / 2);
    std::nth_element(spacings.begin(), middle, spacings.end());
    return std::max(kMinimumGapSeconds, kGapMedians * double(*middle));
}

void PaintRun(QPainter& painter, const QPoint* points, int count) {
    if (count == 1)
        painter.drawPoint(points[0]);
    else if (count > 1)
        painter.drawPolyline(points, count);
}

void PaintReducedCurves(QPainter& painter, const HistoryReduction& reduction,
                        const TrendLimits& limits, const SlotLooks& looks) {
    const EdgeRect& plot = reduction.Plot();
    const double gap = reduction.GapSeconds();
    const std::vector<HistoryColumn>& columns = reduction.Columns();
    std::vector<QPoint> run;
    run.reserve(columns.size() * 4);
    std::optional<DirectPixels> direct = DirectPixels::Of(painter);
    for (int k = 0; k < kCurveCount; ++k) {
        const SlotLook& look = looks[size_t(k)];
        if (!look.visible) continue;
        const ValueRows rowOf(AxisLower(limits, look.axis), AxisUpper(limits, look.axis), plot);
        // An opaque colour sets the same pixels however often it is drawn.
        const bool straight = direct && look.color.alpha() == 255;
        if (straight)
            direct->SetColor(look.color.rgba());
        else
            painter.setPen(QPen(look.color, 1.0));
        run.clear();
        const auto add = [&](int x, float value) {
            const QPoint point(x, rowOf(value));
            if (run.empty() || run.back() != point) run.push_back(point);
        };
        const auto breakRun = [&] {
            if (straight)
                direct->Polyline(run.data(), int(run.size()));
            else
                PaintRun(painter, run.data(), int(run.size()));
            run.clear();
        };
        for (size_t c = 0; c < columns.size(); ++c) {
            const HistoryColumn& column = columns[c];
            if (column.rows == 0) continue;
            if (column.gapBefore > gap || column.breakBefore.test(size_t(k))) breakRun();
            if (!std::isnan(column.first[k])) {
                const int x = plot.left + int(c);
                add(x, column.first[k]);
                add(x, column.low[k]);
                add(x, column.high[k]);
                add(x, column.last[k]);
            }
            if (column.breakAfter.test(size_t(k))) breakRun();
        }
        breakRun();
    }
}

void PaintReducedCurves(QPainter& painter, const HistoryReduction& reduction,
                        const TrendLimits& limits, const std::array<int, kCurveCount>& visible) {
    SlotLooks looks{};
    for (int k = 0; k < kCurveCount; ++k)
        looks[size_t(k)] =
            SlotLook{CurveColors()[size_t(k)], AxisOfCurve(k), visible[size_t(k)] != 0};
    PaintReducedCurves(painter, reduction, limits, looks);
}

bool SlotHasValues(const HistoryReduction& reduction, int slot) {
    for (const HistoryColumn& column : reduction.Columns())
        if (column.rows > 0 && !std::isnan(column.first[size_t(slot)])) return true;
    return false;
}

}  // namespace orsan
