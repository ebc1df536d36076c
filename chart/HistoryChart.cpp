#include "HistoryChart.h"

#include <QCoreApplication>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "TrendPainting.h"

namespace orsan {

HistoryChart::HistoryChart(HistorySource& source) : source_(source) {
    visible_.fill(1);
    SetSize(1000, 500);
}

void HistoryChart::SetSize(int width, int height) {
    layout_ = ComputeTrendLayout(std::max(275, width), std::max(80, height));
}

bool HistoryChart::Show(double from, double to, QString* error) {
    ranges_.assign(1, Span{std::min(from, to), std::max(from, to)});
    return Load(error);
}

double HistoryChart::TimeAtX(int x) const {
    const TrendTimeRange& range = Range();
    const EdgeRect& plot = layout_.plotRect;
    if (plot.Width() <= 0) return range.start;
    const int clamped = std::clamp(x, plot.left, plot.right);
    return range.start + (range.end - range.start) * (clamped - plot.left) / plot.Width();
}

bool HistoryChart::ZoomToPixels(int x1, int x2, QString* error) {
    if (ranges_.empty() || std::abs(x1 - x2) < 3) return false;
    // Whole milliseconds, as the rows are stamped.
    const double from = std::floor(TimeAtX(std::min(x1, x2)) * 1000) / 1000;
    const double to = std::ceil(TimeAtX(std::max(x1, x2)) * 1000) / 1000;
    ranges_.push_back(Span{from, to});
    if (Load(error)) return true;
    ranges_.pop_back();
    return false;
}

bool HistoryChart::ZoomOut(QString* error) {
    if (!CanZoomOut()) return false;
    ranges_.pop_back();
    return Load(error);
}

bool HistoryChart::Reload(QString* error) {
    return !ranges_.empty() && Load(error);
}

bool HistoryChart::Load(QString* error) {
    const Span span = ranges_.back();
    TrendTimeRange range;
    range.start = span.from;
    range.end = span.to;
    range.startTime = int32_t(std::floor(span.from));
    range.endTime = int32_t(std::ceil(span.to));
    reduction_.Reset(range, layout_.plotRect);
    readoutRow_.reset();
    cursorX_ = 0;
    bands_ = HistoryBands();
    detail_ = ChooseHistoryDetail(span.to - span.from, layout_.plotRect.Width());
    const std::vector<HistoryCurve> curves = selection_.Curves();
    bool ok = true;
    if (detail_ != HistoryDetail::Raw) {
        const SlotLooks looks = LooksOf(selection_, visible_);
        std::vector<QColor> colors;
        for (size_t slot = 0; slot < curves.size(); ++slot) colors.push_back(looks[slot].color);
        QString bandError;
        bands_.detail = detail_;
        ok = source_.ReadBands(curves, colors, span.from, span.to, detail_, &bands_, &bandError);
        if (!ok && bandError.isEmpty()) {
            detail_ = HistoryDetail::Raw;
        } else if (!ok) {
            if (error) *error = bandError;
            bands_ = HistoryBands();
        }
    }
    if (detail_ == HistoryDetail::Raw) {
        ok = source_.ReadRows(curves, span.from, span.to, reduction_, error);
        if (!ok) reduction_.Reset(range, layout_.plotRect);  // no half a picture
    }
    Render();
    return ok;
}

namespace {

void PaintNoRowsInRange(QPainter& painter, const TrendLayout& layout) {
    painter.setFont(ChartFont());
    painter.setPen(kChartTextColor);
    painter.drawText(layout.plotRect.ToQRect(), Qt::AlignCenter,
                     QCoreApplication::translate("orsan::HistoryChart", kNoRowsInRangeText));
}

// Time labels, then the rows' curves, or a note that the range has none.
void PaintHistoryRows(QPainter& painter, const TrendLayout& layout, const TrendLimits& limits,
                      const HistoryReduction& reduction, const SlotLooks& looks) {
    PaintTimeTicks(painter, layout, reduction.Range());
    // After a resize the rows reduced for the old plot wait for Reload.
    if (reduction.Plot() != layout.plotRect) return;
    if (reduction.RowCount() == 0) {
        PaintNoRowsInRange(painter, layout);
        return;
    }
    PaintReducedCurves(painter, reduction, limits, looks);
}

}  // namespace

void PaintHistory(QPainter& painter, const TrendLayout& layout, const TrendLimits& limits,
                  const std::array<int, kCurveCount>& visible, const HistoryReduction& reduction) {
    const ChartTitle title("orsan::HistoryChart", kHistoryTitleChinese, kHistoryTitleEnglish);
    PaintTrendFrame(painter, layout, limits, visible, title.first, title.second, TimeGrid::AtTicks);
    PaintHistoryRows(painter, layout, limits, reduction, LooksOf(HistorySelection{}, visible));
}

void HistoryChart::Render() {
    const bool machines = selection_.kind == HistorySelection::Kind::Quantity;
    const ChartTitle title("orsan::HistoryChart", kHistoryTitleChinese, kHistoryTitleEnglish);
    // Grid, axes, titles and the curves' legend stay as they are while the
    // rows change (a zoom, another range): drawn once, copied after.
    const FrameKey key{layout_.width,
                       layout_.height,
                       limits_,
                       machines ? Flags{} : visible_,
                       machines ? MachinesTitle(selection_.quantity) : title.first,
                       title.second};
    if (frame_.isNull() || !(key == frameKey_)) {
        frame_ = QImage(layout_.width, layout_.height, QImage::Format_ARGB32_Premultiplied);
        QPainter framePainter(&frame_);
        PaintTrendFrame(framePainter, layout_, limits_, key.legend, key.title, key.englishTitle,
                        TimeGrid::AtTicks);
        frameKey_ = key;
    }
    image_ = frame_.copy();
    QPainter painter(&image_);
    const bool current = reduction_.Plot() == layout_.plotRect;
    const bool raw = detail_ == HistoryDetail::Raw;
    if (machines) {
        std::array<bool, kSensorCount> hasValues{};
        for (int n = 0; n < kSensorCount && current; ++n)
            hasValues[size_t(n)] =
                raw ? SlotHasValues(reduction_, n)
                    : size_t(n) < bands_.curves.size() && !bands_.curves[size_t(n)].bins.empty();
        PaintMachineLegend(painter, layout_, selection_.quantity, names_, hasValues);
    }
    if (raw) {
        PaintHistoryRows(painter, layout_, limits_, reduction_, LooksOf(selection_, visible_));
    } else {
        PaintTimeTicks(painter, layout_, reduction_.Range());
        if (!current) return;
        if (ShownReadings() == 0) {
            PaintNoRowsInRange(painter, layout_);
        } else {
            Flags shown = visible_;
            if (machines) shown.fill(1);  // one quantity, every machine its band
            PaintHistoryBands(painter, bands_, reduction_.Range(), layout_.plotRect, limits_,
                              shown);
        }
    }
    if (current) PaintHistoryDetail(painter, layout_.plotRect, detail_);
}

bool HistoryChart::ReadoutAt(QPoint point, QString* error) {
    readoutRow_.reset();
    cursorX_ = 0;
    // The last row sits on the plot's right edge line: it counts as inside.
    const EdgeRect& plot = layout_.plotRect;
    if (point.x() < plot.left || point.x() > plot.right || point.y() < plot.top ||
        point.y() > plot.bottom || ranges_.empty())
        return true;
    std::optional<HistoryRow> row;
    if (!source_.NearestRow(selection_.Curves(), TimeAtX(point.x()), Range().start, Range().end,
                            &row, error))
        return false;
    if (!row) return true;
    readoutRow_ = row;
    // The line stands on the row itself, not where the mouse was.
    cursorX_ = TimeToX(row->time + row->milliseconds / 1000.0, Range(), layout_.plotRect);
    return true;
}

QStringList HistoryChart::ReadoutLines() const {
    if (!readoutRow_) return {};
    return HistoryReadoutLines(selection_, names_, *readoutRow_);
}

void HistoryChart::DrawReadout(QPainter& painter) const {
    if (readoutRow_) PaintReadoutLines(painter, layout_.plotRect, cursorX_, ReadoutLines());
}

bool HistoryChart::SavePicture(const QString& path, QString* error) const {
    return SaveChartImage(image_, path, error);
}

}  // namespace orsan
