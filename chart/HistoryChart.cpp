#include "HistoryChart.h"

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
    bool ok = true;
    if (detail_ != HistoryDetail::Raw) {
        QString bandError;
        bands_.detail = detail_;
        ok = source_.ReadBands(span.from, span.to, detail_, &bands_, &bandError);
        if (!ok && bandError.isEmpty()) {
            detail_ = HistoryDetail::Raw;
        } else if (!ok) {
            if (error) *error = bandError;
            bands_ = HistoryBands();
        }
    }
    if (detail_ == HistoryDetail::Raw) {
        ok = source_.ReadRows(span.from, span.to, reduction_, error);
        if (!ok) reduction_.Reset(range, layout_.plotRect);  // no half a picture
    }
    Render();
    return ok;
}

void HistoryChart::Render() {
    image_ = QImage(layout_.width, layout_.height, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image_);
    PaintTrendFrame(painter, layout_, limits_, visible_, kHistoryTitleChinese,
                    kHistoryTitleEnglish);
    PaintTimeLabels(painter, layout_, reduction_.Range());
    // After a resize the rows reduced for the old plot wait for Reload.
    if (reduction_.Plot() != layout_.plotRect) return;
    if (ShownReadings() == 0) {
        painter.setFont(ChartFont());
        painter.setPen(kChartTextColor);
        painter.drawText(layout_.plotRect.ToQRect(), Qt::AlignCenter, kNoRowsInRangeText);
    } else if (detail_ == HistoryDetail::Raw) {
        PaintReducedCurves(painter, reduction_, limits_, visible_);
    } else {
        PaintHistoryBands(painter, bands_, reduction_.Range(), layout_.plotRect, limits_, visible_);
    }
    PaintHistoryDetail(painter, layout_.plotRect, detail_);
}

bool HistoryChart::ReadoutAt(QPoint point, QString* error) {
    readoutRow_.reset();
    cursorX_ = 0;
    // The last row sits on the plot's right edge line: it counts as inside.
    const EdgeRect& plot = layout_.plotRect;
    if (point.x() < plot.left || point.x() > plot.right || point.y() < plot.top ||
        point.y() > plot.bottom || ranges_.empty())
        return true;
    std::optional<SensorSample> row;
    if (!source_.NearestRow(TimeAtX(point.x()), Range().start, Range().end, &row, error))
        return false;
    if (!row) return true;
    readoutRow_ = row;
    // The line stands on the row itself, not where the mouse was.
    cursorX_ = TimeToX(SampleTimePosition(*row), Range(), layout_.plotRect);
    return true;
}

void HistoryChart::DrawReadout(QPainter& painter) const {
    if (readoutRow_) PaintReadout(painter, layout_.plotRect, cursorX_, *readoutRow_);
}

bool HistoryChart::SavePicture(const QString& path, QString* error) const {
    return SaveChartImage(image_, path, error);
}

}  // namespace orsan
