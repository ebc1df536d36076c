#include "TrendChart.h"

#include <QDateTime>
#include <QPainter>
#include <QSaveFile>

#include "TrendLabels.h"
#include "TrendPainting.h"

namespace orsan {

namespace {

constexpr QImage::Format kImageFormat = QImage::Format_ARGB32_Premultiplied;

}  // namespace

TrendChart::TrendChart() : clock_([] { return QDateTime::currentSecsSinceEpoch(); }) {
    curveVisible_.fill(1);
    points_.reserve(TrendHistory::kCapacity);
}

bool TrendChart::AppendSample(const SensorSample& sample) {
    const int before = history_.Count();
    history_.Append(sample);
    if (redrawThrottle_ != 0 && before % 3 != 0) return false;
    return Render();
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
    if (!backgroundValid_ || backgroundLimits_ != limits_ || backgroundVisible_ != curveVisible_)
        RenderBackground();
    // Plain pixel copy of the cached grid, axes, titles and legend; the
    // curves stay inside the plot and never touch the legend or the labels.
    image_ = background_.copy();
    QPainter painter(&image_);
    DrawTimeLabels(painter);
    DrawCurves(painter);
    ++renderCount_;
    return true;
}

void TrendChart::RenderBackground() {
    background_ = QImage(layout_.width, layout_.height, kImageFormat);
    QPainter painter(&background_);
    PaintTrendFrame(painter, layout_, limits_, curveVisible_, kChartTitleChinese,
                    kChartTitleEnglish);
    backgroundValid_ = true;
    backgroundLimits_ = limits_;
    backgroundVisible_ = curveVisible_;
    ++backgroundRenderCount_;
}

void TrendChart::DrawTimeLabels(QPainter& p) const {
    PaintTimeLabels(p, layout_, range_);
}

void TrendChart::DrawCurves(QPainter& p) {
    const int n = history_.Count();
    if (n < 3) return;
    const EdgeRect& plot = layout_.plotRect;
    points_.resize(n);
    xs_.resize(n);
    for (int i = 0; i < n; ++i) xs_[i] = TimeToX(SampleTimePosition(history_.At(i)), range_, plot);
    for (int k = 0; k < kCurveCount; ++k) {
        if (curveVisible_[k] == 0) continue;
        const int axis = AxisOfCurve(k);
        const float lower = AxisLower(limits_, axis);
        const float upper = AxisUpper(limits_, axis);
        for (int i = 0; i < n; ++i)
            points_[i] = QPoint(xs_[i], ValueToY(history_.At(i).Value(k), lower, upper, plot));
        p.setPen(QPen(CurveColors()[k], 1.0));
        p.drawPolyline(points_.data(), n);
    }
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
        if (error) *error = QStringLiteral("无法写入文件 %1：曲线图尚未绘制").arg(path);
        return false;
    }
    return SaveChartImage(image_, path, error);
}

}  // namespace orsan
