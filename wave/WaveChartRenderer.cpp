#include "WaveChartRenderer.h"

#include <QFont>
#include <QPen>
#include <QPoint>

namespace orsan {

QFont ArialPixels(int pixels, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

void TextAt(QPainter& painter, int x, int y, const QString& text) {
    painter.drawText(QRect(x, y, 1000, 100), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

namespace {

QString Label(float value, float step) {
    return QString::fromStdString(FormatAxisLabel(value, step));
}

}  // namespace

void RenderWaveChart(QImage& image, const ChartLayout& layout, const ChartView& view,
                     const WaveChartContent& content, CurveMode mode) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(image.rect(), Qt::white);

    const ChartRect& plot = layout.plot;
    QPen black(Qt::black, 1);
    painter.setPen(black);
    painter.drawLine(plot.left, plot.top, plot.right, plot.top);
    painter.drawLine(plot.right, plot.top, plot.right, plot.bottom);
    painter.drawLine(plot.right, plot.bottom, plot.left, plot.bottom);
    painter.drawLine(plot.left, plot.bottom, plot.left, plot.top);

    QPen grid(QColor(120, 160, 160), 1);
    grid.setDashPattern({4, 2, 4, 2});
    painter.setPen(grid);
    for (int i = 1; i <= 9; ++i) {
        const int y = plot.top + i * layout.rowStep;
        const int x = plot.left + i * layout.columnStep;
        painter.drawLine(plot.left, y, plot.right, y);
        painter.drawLine(x, plot.top, x, plot.bottom);
    }

    painter.setPen(black);
    const int tick = int(0.2 * layout.rowStep);
    for (int i = 1; i <= 9; ++i) {
        const int y = plot.top + i * layout.rowStep;
        const int x = plot.left + i * layout.columnStep;
        painter.drawLine(plot.left, y, plot.left + tick, y);
        painter.drawLine(x, plot.bottom, x, plot.bottom - tick);
    }

    painter.setFont(ArialPixels(11));
    const float yStep = view.y.Span() / 10;
    const float xStep = view.x.Span() / 10;
    for (int i = 0; i <= 10; ++i) {
        TextAt(painter, 10, plot.bottom - i * layout.rowStep - 5,
               Label(view.y.min + float(i) * yStep, yStep));
        TextAt(painter, plot.left + i * layout.columnStep, plot.bottom + 10,
               Label(view.x.min + float(i) * xStep, xStep));
    }
    TextAt(painter, 10, plot.top - 25, content.yUnit);
    TextAt(painter, plot.left + 10 * layout.columnStep + 30, plot.bottom + 10, content.xUnit);
    TextAt(painter, plot.left + 10 * layout.columnStep / 3 + 20, plot.top - 20, content.title);

    for (const auto& [box, sign] : {std::pair{layout.widenBox, QStringLiteral("+")},
                                    std::pair{layout.narrowBox, QStringLiteral("-")}}) {
        const QRect rect(box.left, box.top, box.Width(), box.Height());
        painter.drawRect(rect);
        painter.drawText(rect, Qt::AlignCenter, sign);
    }

    if (content.sampleCount <= 2) return;
    std::vector<QPoint> points;
    const AxisRange fromFirstSample{view.x.min - content.origin, view.x.max - content.origin};
    for (int c = 0; c < kWaveCurveCount; ++c) {
        if (!content.visible[c]) continue;
        const int count = std::min<int>(content.sampleCount, int(content.samples[c].size()));
        BuildCurvePoints(content.samples[c].data(), count, content.interval, layout,
                         fromFirstSample, view.y, mode, points);
        if (points.empty()) continue;
        painter.setPen(QPen(kWaveCurveColors[c], 1));
        painter.drawPolyline(points.data(), int(points.size()));
    }
}

CursorTexts CursorReadoutTexts(const ChartLayout& layout, const ChartView& view,
                               const WaveChartContent& content) {
    CursorTexts texts;
    const CursorReadout cursor =
        ComputeCursor(layout, view, content.interval, content.sampleCount, content.origin);
    if (!cursor.visible) return texts;
    texts.time = QString::asprintf("%1.2f %s ", double(cursor.time), qPrintable(content.xUnit));
    for (int c = 0; c < kWaveCurveCount; ++c) {
        if (!content.visible[c] || cursor.sample >= int(content.samples[c].size())) continue;
        texts.values +=
            QString::fromStdString(FormatCursorValue(content.samples[c][cursor.sample]));
    }
    return texts;
}

void DrawCursorReadout(QPainter& painter, const ChartLayout& layout, const ChartView& view,
                       const WaveChartContent& content) {
    const CursorReadout cursor =
        ComputeCursor(layout, view, content.interval, content.sampleCount, content.origin);
    if (!cursor.visible) return;
    const ChartRect& plot = layout.plot;
    const int xs = cursor.column;
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(xs, plot.top, xs, plot.bottom);

    const CursorTexts texts = CursorReadoutTexts(layout, view, content);
    painter.setFont(ArialPixels(14, true));
    for (int c = 0; c < kWaveCurveCount; ++c) {
        if (!content.visible[c] || cursor.sample >= int(content.samples[c].size())) continue;
        const int py = ValueRow(layout, view.y, content.samples[c][cursor.sample]);
        if (py > plot.top && py < plot.bottom && xs > plot.left && xs < plot.right) {
            painter.setPen(kWaveCurveColors[c]);
            TextAt(painter, xs - 4, py - 7, QStringLiteral("+"));
        }
    }

    painter.setFont(ArialPixels(14));
    painter.setPen(Qt::black);
    const bool leftHalf = view.cursorX < plot.left + plot.Width() / 2;
    const auto band = [&](int top, int bottom, const QString& text) {
        const int width = 2000;
        const QRect rect = leftHalf ? QRect(xs + 2, top, width, bottom - top)
                                    : QRect(xs - 1 - width, top, width, bottom - top);
        painter.drawText(
            rect, (leftHalf ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop | Qt::TextDontClip,
            text);
    };
    band(plot.top + 5, plot.top + 20, texts.time);
    band(plot.top + 20, plot.top + 40, texts.values);
}

}  // namespace orsan
