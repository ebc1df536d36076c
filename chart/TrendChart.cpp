#include "TrendChart.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "TrendLabels.h"
#include "TrendPainting.h"

namespace orsan {

namespace {

constexpr QImage::Format kImageFormat = QImage::Format_ARGB32_Premultiplied;

}  // namespace

TrendChart::TrendChart() : clock_([] { return QDateTime::currentSecsSinceEpoch(); }) {
    curveVisible_.fill(1);
    points_.reserve(TrendHistory::kCapacity);
    rows_.resize(TrendHistory::kCapacity);
}

bool TrendChart::AppendSample(const SensorSample& sample, bool measured) {
    const int before = history_.Count();
    Append(sample, measured);
    if (redrawThrottle_ != 0 && before % 3 != 0) return false;
    return Render();
}

void TrendChart::Prefill(const std::vector<TrendPoint>& points) {
    for (const TrendPoint& point : points) Append(point.sample, point.measured);
    Render();
}

void TrendChart::Append(const SensorSample& sample, bool measured) {
    const int count = history_.Count();
    const bool afterGap =
        count > 0 && gapSeconds_ > 0 &&
        SampleTimePosition(sample) - SampleTimePosition(history_.At(count - 1)) > gapSeconds_;
    history_.Append(sample, measured, afterGap);
    ++appended_;
}

void TrendChart::ClearSamples() {
    history_.Clear();
    Render();
}

int TrendChart::CopySamples(SensorSample* dest) const {
    return history_.CopyTo(dest);
}

void TrendChart::CreateImage(int width, int height) {
    if (HasImage()) return;
    image_ = QImage(width, height, kImageFormat);
    layout_ = ComputeTrendLayout(width, height);
    backgroundValid_ = false;
    Render();
}

bool TrendChart::Render() {
    if (!HasImage()) return false;
    range_ = ComputeTimeRange(history_, clock_());
    const TimeLabels labels{range_.startTime, TimeLabelStep(range_)};
    bool newLabels = labels != drawnLabels_;
    if (!backgroundValid_ || backgroundLimits_ != limits_ || backgroundVisible_ != curveVisible_ ||
        backgroundMarks_ != marks_) {
        RenderBackground();
        CopyPixels(background_, image_, layout_.clientRect);
        newLabels = true;
    } else {
        // Only what the last render drew over goes back to the cached grid,
        // axes, titles and legend: the rows of the plot the curves covered
        // (every curve stays inside the plot, edges included) and the band of
        // time labels below it when they change.
        const EdgeRect& plot = layout_.plotRect;
        CopyPixels(background_, image_, curvesArea_);
        if (newLabels)
            CopyPixels(background_, image_, {0, plot.bottom + 1, layout_.width, layout_.height});
    }
    drawnLabels_ = labels;
    QPainter painter(&image_);
    if (newLabels) DrawTimeLabels(painter);
    DrawCurves(painter);
    ++renderCount_;
    return true;
}

void TrendChart::CopyPixels(const QImage& from, QImage& to, const EdgeRect& area) {
    const EdgeRect clipped{std::max(area.left, 0), std::max(area.top, 0),
                           std::min(area.right, to.width()), std::min(area.bottom, to.height())};
    if (clipped.Width() <= 0 || clipped.Height() <= 0) return;
    const size_t offset = size_t(clipped.left) * 4;
    const size_t bytes = size_t(clipped.Width()) * 4;
    for (int y = clipped.top; y < clipped.bottom; ++y)
        std::memcpy(to.scanLine(y) + offset, from.constScanLine(y) + offset, bytes);
}

void TrendChart::RenderBackground() {
    background_ = QImage(layout_.width, layout_.height, kImageFormat);
    QPainter painter(&background_);
    const ChartTitle title("orsan::TrendChart", kChartTitleChinese, kChartTitleEnglish);
    PaintTrendFrame(painter, layout_, limits_, curveVisible_, title.first, title.second);
    DrawVelocityMarks(painter);
    backgroundValid_ = true;
    backgroundLimits_ = limits_;
    backgroundVisible_ = curveVisible_;
    backgroundMarks_ = marks_;
    ++backgroundRenderCount_;
}

void TrendChart::DrawVelocityMarks(QPainter& p) const {
    constexpr int kVelocityAxis = 2;
    const float lower = AxisLower(limits_, kVelocityAxis);
    const float upper = AxisUpper(limits_, kVelocityAxis);
    const EdgeRect& plot = layout_.plotRect;
    const struct {
        float level;
        const char* boundary;
        QVector<qreal> dashes;
    } marks[] = {{marks_.bc, "B/C", {4, 3}}, {marks_.cd, "C/D", {8, 3}}};
    p.save();
    p.setFont(ChartFont());
    for (const auto& mark : marks) {
        // Beyond the axis a line would sit on the plot's edge and mislead.
        if (!(mark.level > 0) || mark.level <= lower || mark.level >= upper) continue;
        QPen pen(kZoneMarkColor, 1.0);
        pen.setDashPattern(mark.dashes);
        p.setPen(pen);
        const int y = ValueToY(mark.level, lower, upper, plot);
        p.drawLine(plot.left + 1, y, plot.right - 1, y);
        // "B/C 2.8 mm/s" at the right end, above its line (below it when the
        // line runs along the top).
        const QString label = QStringLiteral("%1 %2 mm/s")
                                  .arg(QLatin1String(mark.boundary))
                                  .arg(double(mark.level), 0, 'g', 4);
        const int height = p.fontMetrics().height();
        const int top = y - height - 1 >= plot.top ? y - height - 1 : y + 2;
        p.setPen(kZoneMarkColor);
        p.drawText(QRect(plot.left, top, plot.right - plot.left - 4, height),
                   Qt::AlignRight | Qt::AlignVCenter, label);
    }
    p.restore();
}

void TrendChart::DrawTimeLabels(QPainter& p) const {
    PaintTimeLabels(p, layout_, range_);
}

void TrendChart::DrawCurves(QPainter& p) {
    const EdgeRect& plot = layout_.plotRect;
    curvesArea_ = EdgeRect{plot.left, plot.top, plot.right + 1, plot.top};  // nothing yet
    const int n = history_.Count();
    if (n < 3) return;
    points_.resize(n);
    xs_.resize(n);
    const TimeColumns column(range_, plot);
    for (int i = 0; i < n; ++i) xs_[i] = column(SampleTimePosition(history_.At(i)));
    const int64_t first = appended_ - n;  // append number of sample 0
    const auto ring = [](int64_t number) { return size_t(number % TrendHistory::kCapacity); };
    if (rowsLimits_ != limits_ || rowsPlot_ != plot) {
        rowsUpTo_ = first;
        rowsLimits_ = limits_;
        rowsPlot_ = plot;
    }
    const std::array<ValueRows, 4> axes{
        ValueRows(AxisLower(limits_, 0), AxisUpper(limits_, 0), plot),
        ValueRows(AxisLower(limits_, 1), AxisUpper(limits_, 1), plot),
        ValueRows(AxisLower(limits_, 2), AxisUpper(limits_, 2), plot),
        ValueRows(AxisLower(limits_, 3), AxisUpper(limits_, 3), plot)};
    for (int64_t number = std::max(rowsUpTo_, first); number < appended_; ++number) {
        const SensorSample& sample = history_.At(int(number - first));
        for (int k = 0; k < kCurveCount; ++k)
            rows_[ring(number)][size_t(k)] = axes[size_t(AxisOfCurve(k))](sample.Value(k));
    }
    rowsUpTo_ = appended_;

    // The runs of measured samples, alike for every curve: a gap in time or
    // an unmeasured sample ends one, and nothing joins it to the next.
    runs_.clear();
    int runStart = -1;
    for (int i = 0; i < n; ++i) {
        const bool measured = history_.IsMeasured(i);
        if (runStart >= 0 && (!measured || history_.IsAfterGap(i))) {
            runs_.push_back({runStart, i});
            runStart = -1;
        }
        if (measured && runStart < 0) runStart = i;
    }
    if (runStart >= 0) runs_.push_back({runStart, n});

    const size_t firstSlot = ring(first);
    int top = plot.bottom + 1;
    int bottom = plot.top - 1;
    for (int k = 0; k < kCurveCount; ++k) {
        if (curveVisible_[k] == 0) continue;
        p.setPen(QPen(CurveColors()[k], 1.0));
        for (const auto& [from, to] : runs_) {
            PolylinePoints line(points_.data());
            size_t slot = firstSlot + size_t(from);
            if (slot >= size_t(TrendHistory::kCapacity)) slot -= TrendHistory::kCapacity;
            for (int i = from; i < to; ++i) {
                const int y = rows_[slot][size_t(k)];
                if (++slot == size_t(TrendHistory::kCapacity)) slot = 0;
                top = std::min(top, y);
                bottom = std::max(bottom, y);
                line.Add(QPoint(xs_[i], y));
            }
            if (to - from == 1)
                p.drawPoint(points_[0]);
            else
                p.drawPolyline(points_.data(), line.Finish());
        }
    }
    curvesArea_.top = top;
    curvesArea_.bottom = bottom + 1;
}

void TrendChart::SetCursorFromClick(QPoint point) {
    cursorX_ = layout_.plotRect.Contains(point) ? point.x() : 0;
}

int TrendChart::ReadoutSampleIndex() const {
    if (!HasImage()) return -1;
    const int index = NearestSampleIndex(history_, range_, layout_.plotRect, cursorX_);
    return index > 0 ? index : -1;
}

void TrendChart::DrawReadout(QPainter& p) const {
    const int index = ReadoutSampleIndex();
    if (index >= 0) PaintReadout(p, layout_.plotRect, cursorX_, history_.At(index));
}

bool TrendChart::SavePicture(const QString& path, QString* error) const {
    if (!HasImage()) {
        if (error)
            *error =
                QCoreApplication::translate("orsan::TrendChart", "无法写入文件 %1：曲线图尚未绘制")
                    .arg(path);
        return false;
    }
    return SaveChartImage(image_, path, error);
}

}  // namespace orsan
