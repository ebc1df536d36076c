#include "HistoryBands.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

namespace orsan {

namespace {

constexpr double kHourSeconds = 3600;
constexpr double kDaySeconds = 86400;

// A band stands out from the white plot by about a quarter of a channel's
// range whatever its colour (a pale one needs more of it), and stays
// translucent so the bands below it still show through.
QColor BandFill(QColor color) {
    const int reach = std::max({255 - color.red(), 255 - color.green(), 255 - color.blue(), 1});
    color.setAlphaF(std::clamp(64.0f / float(reach), 0.25f, 0.6f));
    return color;
}

// One run of spans that follow one another: the band as a stepped outline
// (highs left to right, lows back), the mean through the spans' middles.
void PaintBandRun(QPainter& painter, const BandCurve& curve, size_t first, size_t end, double span,
                  const auto& xOf, const auto& yOf) {
    QPolygon band;
    QPolygon mean;
    for (size_t b = first; b < end; ++b) {
        const BandBin& bin = curve.bins[b];
        band << QPoint(xOf(bin.start), yOf(bin.high))
             << QPoint(xOf(bin.start + span), yOf(bin.high));
        mean << QPoint(xOf(bin.start + span / 2), yOf(bin.mean));
    }
    for (size_t b = end; b-- > first;) {
        const BandBin& bin = curve.bins[b];
        band << QPoint(xOf(bin.start + span), yOf(bin.low)) << QPoint(xOf(bin.start), yOf(bin.low));
    }
    // A lone span's mean is a level line across it.
    if (mean.size() == 1)
        mean = QPolygon({QPoint(xOf(curve.bins[first].start), mean[0].y()),
                         QPoint(xOf(curve.bins[first].start + span), mean[0].y())});
    painter.setPen(Qt::NoPen);
    painter.setBrush(BandFill(curve.color));
    painter.drawPolygon(band);
    painter.setPen(QPen(curve.color, 1.0));
    painter.setBrush(Qt::NoBrush);
    painter.drawPolyline(mean);
}

}  // namespace

HistoryDetail ChooseHistoryDetail(double seconds, int plotWidth) {
    if (seconds <= kRawHistorySeconds) return HistoryDetail::Raw;
    return seconds / kHourSeconds * 2 <= plotWidth ? HistoryDetail::Hourly : HistoryDetail::Daily;
}

double DetailSpanSeconds(HistoryDetail detail) {
    switch (detail) {
        case HistoryDetail::Hourly:
            return kHourSeconds;
        case HistoryDetail::Daily:
            return kDaySeconds;
        case HistoryDetail::Raw:
            break;
    }
    return 0;
}

QString HistoryDetailText(HistoryDetail detail) {
    switch (detail) {
        case HistoryDetail::Hourly:
            return QCoreApplication::translate("HistoryChart",
                                               "每小时汇总：带为最低至最高，线为平均");
        case HistoryDetail::Daily:
            return QCoreApplication::translate("HistoryChart",
                                               "每日汇总：带为最低至最高，线为平均");
        case HistoryDetail::Raw:
            break;
    }
    return QCoreApplication::translate("HistoryChart", "原始记录");
}

void PaintHistoryBands(QPainter& painter, const HistoryBands& bands, const TrendTimeRange& range,
                       const EdgeRect& plot, const TrendLimits& limits,
                       const std::array<int, kCurveCount>& visible) {
    const double span = DetailSpanSeconds(bands.detail);
    const double length = range.end - range.start;
    if (span <= 0 || length <= 0) return;
    painter.save();
    painter.setClipRect(plot.ToQRect());
    const auto xOf = [&](double seconds) {
        return plot.left + int(std::lround((seconds - range.start) / length * plot.Width()));
    };
    for (const BandCurve& curve : bands.curves) {
        if (curve.quantity < 0 || curve.quantity >= kCurveCount || visible[curve.quantity] == 0)
            continue;
        const int axis = AxisOfCurve(curve.quantity);
        const float lower = AxisLower(limits, axis);
        const float upper = AxisUpper(limits, axis);
        const auto yOf = [&](double value) { return ValueToY(float(value), lower, upper, plot); };
        size_t first = 0;
        for (size_t b = 1; b <= curve.bins.size(); ++b) {
            if (b < curve.bins.size() && curve.bins[b].start - curve.bins[b - 1].start <= span)
                continue;
            PaintBandRun(painter, curve, first, b, span, xOf, yOf);
            first = b;
        }
    }
    painter.restore();
}

void PaintHistoryDetail(QPainter& painter, const EdgeRect& plot, HistoryDetail detail) {
    painter.save();
    painter.setFont(ChartFont());
    const QString text = HistoryDetailText(detail);
    QRect box = painter.fontMetrics().boundingRect(text).adjusted(-3, -1, 3, 1);
    box.moveTopLeft(QPoint(plot.left + 4, plot.top + 4));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 220));
    painter.drawRect(box);
    painter.setPen(kChartTextColor);
    painter.drawText(box, Qt::AlignCenter, text);
    painter.restore();
}

}  // namespace orsan
