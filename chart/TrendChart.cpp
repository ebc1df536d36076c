#include "TrendChart.h"

#include <QBuffer>
#include <QDateTime>
#include <QPainter>

#include "OutputPath.h"
#include "TrendLabels.h"

namespace orsan {

namespace {

constexpr QImage::Format kImageFormat = QImage::Format_ARGB32_Premultiplied;

// Text with its top-left corner at a point, as the chart places every label.
void DrawTextAt(QPainter& painter, QPointF at, const QString& text) {
    painter.drawText(QRectF(at, QSizeF(1000, 100)), Qt::AlignLeft | Qt::AlignTop, text);
}

struct AxisText {
    int x;
    const char* name;
    QString unit;
};

const std::array<AxisText, 4>& AxisTexts() {
    static const std::array<AxisText, 4> axes = {{{15, "Temp", QStringLiteral("℃")},
                                                  {65, "Acc", QStringLiteral("m/ss")},
                                                  {115, "Vel", QStringLiteral("mm/s")},
                                                  {165, "Disp", QStringLiteral("um")}}};
    return axes;
}

}  // namespace

TrendChart::TrendChart() : clock_([] { return QDateTime::currentSecsSinceEpoch(); }) {
    curveVisible_.fill(1);
    points_.reserve(TrendHistory::kCapacity);
}

bool TrendChart::AppendSample(const SensorSample& sample, bool measured) {
    const int before = history_.Count();
    history_.Append(sample, measured);
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
    if (!backgroundValid_ || backgroundLimits_ != limits_ || backgroundVisible_ != curveVisible_ ||
        backgroundMarks_ != marks_)
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
    const EdgeRect& plot = layout_.plotRect;
    const int gx = layout_.gridStepX;
    const int gy = layout_.gridStepY;
    QPainter p(&background_);
    p.fillRect(layout_.clientRect.ToQRect(), kChartBackground);

    const QPen solid(kGridSolidColor, 1.0);
    QPen dashed(kGridDashColor, 1.0);
    dashed.setDashPattern({2, 2, 2, 2});

    p.setPen(solid);
    p.drawLine(plot.left, plot.top, plot.right, plot.top);
    p.drawLine(plot.right, plot.top, plot.right, plot.bottom);
    p.drawLine(plot.right, plot.bottom, plot.left, plot.bottom);
    p.drawLine(plot.left, plot.bottom, plot.left, plot.top);

    p.setPen(dashed);
    for (int i = 1; i <= 9; ++i) {
        const int y = plot.top + i * gy;
        p.drawLine(plot.left, y, plot.right, y);
    }
    for (int i = 1; i <= 24; ++i) {
        const int x = plot.left + i * gx;
        p.drawLine(x, plot.top, x, plot.bottom);
    }

    p.setPen(solid);
    for (int i = 1; i <= 4; ++i) {
        const int x = plot.left + 5 * i * gx;
        p.drawLine(x, plot.top, x, plot.bottom);
    }
    for (int a = 0; a < 4; ++a) {
        const int x = 50 * a + 6;
        p.drawLine(x, plot.top, x, plot.bottom);
        for (int j = 0; j <= 10; ++j) {
            const int y = plot.top + j * gy;
            p.drawLine(x, y, x + 6, y);
        }
    }

    DrawVelocityMarks(p);

    p.setFont(ChartFont());
    p.setPen(kChartTextColor);
    DrawTextAt(p, QPointF(plot.left + 10 * gx + 5, plot.top - 42), kChartTitleChinese);
    DrawTextAt(p, QPointF(plot.left + 7.5 * gx - 5, plot.top - 24), kChartTitleEnglish);
    for (int a = 0; a < 4; ++a) {
        const AxisText& axis = AxisTexts()[a];
        const auto labels = AxisLabelTexts(AxisLower(limits_, a), AxisUpper(limits_, a));
        for (int j = 0; j <= 10; ++j)
            DrawTextAt(p, QPointF(axis.x, plot.bottom - j * gy - 7), labels[j]);
        DrawTextAt(p, QPointF(axis.x, plot.top - 42), QString::fromLatin1(axis.name));
        DrawTextAt(p, QPointF(axis.x, plot.top - 24), axis.unit);
    }

    for (int k = 0; k < kCurveCount; ++k) {
        if (curveVisible_[k] == 0) continue;
        const int y = plot.top + kLegendOffsets[k];
        p.fillRect(QRect(plot.right + 5, y, 14, 8), CurveColors()[k]);
        p.setPen(CurveColors()[k]);
        DrawTextAt(p, QPointF(plot.right + 22, y - 2), CurveNames()[k]);
    }

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
    const struct {
        float level;
        QColor color;
    } marks[] = {{marks_.bc, kZoneMarkBC}, {marks_.cd, kZoneMarkCD}};
    for (const auto& mark : marks) {
        // Beyond the axis a line would sit on the plot's edge and mislead.
        if (!(mark.level > 0) || mark.level <= lower || mark.level >= upper) continue;
        QPen pen(mark.color, 1.0);
        pen.setDashPattern({4, 3});
        p.setPen(pen);
        const int y = ValueToY(mark.level, lower, upper, layout_.plotRect);
        p.drawLine(layout_.plotRect.left + 1, y, layout_.plotRect.right - 1, y);
    }
}

void TrendChart::DrawTimeLabels(QPainter& p) const {
    const EdgeRect& plot = layout_.plotRect;
    const int step = TimeLabelStep(range_);
    p.setFont(ChartFont());
    p.setPen(kChartTextColor);
    for (int i = 0; i <= 5; ++i) {
        QString text = TimeLabelText(range_.startTime + i * step);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        DrawTextAt(p, QPointF(plot.left + 5 * i * layout_.gridStepX, plot.bottom + 5), text);
    }
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
        p.setPen(QPen(CurveColors()[k], 1.0));
        // One polyline per run of measured samples: nothing joins the values
        // before an outage to those after it.
        int runLength = 0;
        for (int i = 0; i <= n; ++i) {
            if (i < n && history_.IsMeasured(i)) {
                points_[runLength++] =
                    QPoint(xs_[i], ValueToY(history_.At(i).Value(k), lower, upper, plot));
                continue;
            }
            if (runLength == 1) p.drawPoint(points_[0]);
            if (runLength > 1) p.drawPolyline(points_.data(), runLength);
            runLength = 0;
        }
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
    if (index < 0) return;
    const EdgeRect& plot = layout_.plotRect;
    p.save();
    p.setPen(QPen(kReadoutColor, 1.0));
    p.drawLine(cursorX_, plot.top, cursorX_, plot.bottom);
    p.setFont(ReadoutFont());
    const QStringList lines = ReadoutLines(history_.At(index));
    for (int k = 0; k < lines.size(); ++k) {
        const ReadoutLineBox line = ReadoutBox(plot, cursorX_, k);
        if (line.box.Width() <= 0) continue;
        const int align = (line.alignLeft ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop;
        p.drawText(line.box.ToQRect(), align, lines[k]);
    }
    p.restore();
}

bool TrendChart::SavePicture(const QString& path, QString* error) const {
    const auto fail = [&](const QString& reason) {
        if (error) *error = QStringLiteral("无法写入文件 %1：%2").arg(path, reason);
        return false;
    };
    if (!HasImage()) return fail(QStringLiteral("曲线图尚未绘制"));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Opaque white chart: a plain RGB picture.
    if (!image_.convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG"))
        return fail(QStringLiteral("PNG编码失败"));
    QString reason;
    if (!WriteOutputBytes(path, png, &reason)) return fail(reason);
    return true;
}

}  // namespace orsan
