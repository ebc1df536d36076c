#include "FrequencyChartRenderer.h"

#include <QFontMetrics>
#include <QPen>
#include <QPoint>
#include <cmath>

#include "WaveChartRenderer.h"

namespace orsan {

namespace {

const QColor kGridColor(120, 160, 160);
const QColor kOrderColor(128, 128, 128);
const QColor kHarmonicColor(200, 0, 200);

QString AmplitudeLabel(double value, double step, AmplitudeScale scale) {
    if (scale == AmplitudeScale::Logarithmic)
        return QString::asprintf("1e%d", int(std::lround(value)));
    return QString::fromStdString(FormatAxisLabel(float(value), float(step)));
}

int RowOf(const ChartRect& plot, const SpectrumRange& y, double v) {
    return plot.bottom - int(std::lround((v - y.min) / y.Span() * plot.Height()));
}

void DashedPen(QPainter& painter, const QColor& color) {
    QPen pen(color, 1);
    pen.setDashPattern({4, 2, 4, 2});
    painter.setPen(pen);
}

// Vertical lines at the given frequencies, labelled at the top where the
// label clears the previous one.
void DrawMarkers(QPainter& painter, const ChartRect& plot, const SpectrumRange& x,
                 const std::vector<double>& frequencies, const QColor& color, const QString& suffix,
                 double base, int labelRow) {
    painter.setFont(ArialPixels(10));
    const QFontMetrics metrics(painter.font());
    int labelEnd = plot.left - 1000;
    for (double f : frequencies) {
        const int column = ColumnOfHz(plot, x, f);
        DashedPen(painter, color);
        painter.drawLine(column, plot.top, column, plot.bottom);
        const QString label = QStringLiteral("%1%2").arg(std::lround(f / base)).arg(suffix);
        if (column + 2 < labelEnd) continue;
        painter.setPen(color);
        TextAt(painter, column + 2, labelRow, label);
        labelEnd = column + 2 + metrics.horizontalAdvance(label) + 2;
    }
}

}  // namespace

SpectrumTriple SpectrumChartContent::Triple() const {
    SpectrumTriple triple{};
    for (size_t a = 0; a < 3; ++a)
        if (!spectra[a].amplitude.empty()) triple[a] = &spectra[a];
    return triple;
}

void SpectrumChartContent::Set(std::array<AmplitudeSpectrum, 3> given, AmplitudeScale scale) {
    spectra = std::move(given);
    Rescale(scale);
}

void SpectrumChartContent::Rescale(AmplitudeScale scale) {
    for (size_t a = 0; a < 3; ++a) {
        const std::vector<double>& lines = spectra[a].amplitude;
        display[a].resize(lines.size());
        for (size_t k = 0; k < lines.size(); ++k)
            display[a][k] = float(DisplayAmplitude(lines[k], scale));
    }
}

void RenderSpectrumChart(QImage& image, const SpectrumChartContent& content,
                         const FrequencyViewState& state) {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(image.rect(), Qt::white);
    const ChartRect plot = SpectrumPlotRect(image.width(), image.height());
    const QPen black(Qt::black, 1);

    DashedPen(painter, kGridColor);
    const bool log = state.scale == AmplitudeScale::Logarithmic;
    const int rows = log ? int(std::lround(state.y.Span())) : 10;
    const double yStep = state.y.Span() / rows;
    for (int i = 1; i < rows; ++i) {
        const int row = RowOf(plot, state.y, state.y.min + i * yStep);
        painter.drawLine(plot.left, row, plot.right, row);
    }
    const std::vector<double> xTicks = NiceTicks(state.x, 8);
    const double xStep = xTicks.size() > 1 ? xTicks[1] - xTicks[0] : state.x.Span();
    for (double f : xTicks) {
        const int column = ColumnOfHz(plot, state.x, f);
        painter.drawLine(column, plot.top, column, plot.bottom);
    }
    painter.setPen(black);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plot.left, plot.top, plot.Width(), plot.Height());

    painter.setFont(ArialPixels(11));
    for (int i = 0; i <= rows; ++i) {
        TextAt(painter, 6, RowOf(plot, state.y, state.y.min + i * yStep) - 6,
               AmplitudeLabel(state.y.min + i * yStep, yStep, state.scale));
    }
    const QFontMetrics metrics(painter.font());
    for (double f : xTicks) {
        const QString label = QString::fromStdString(FormatAxisLabel(float(f), float(xStep)));
        TextAt(painter, ColumnOfHz(plot, state.x, f) - metrics.horizontalAdvance(label) / 2,
               plot.bottom + 6, label);
    }
    TextAt(painter, 6, plot.top - 30, content.unit);
    TextAt(painter, plot.right + 4, plot.bottom - 14, QStringLiteral("Hz"));
    painter.setFont(ArialPixels(12, true));
    TextAt(painter, plot.left + 4, plot.top - 30, content.title);
    painter.setFont(ArialPixels(12));
    const char* names[] = {"X", "Y", "Z"};
    for (int a = 0; a < 3; ++a) {
        painter.setPen(kWaveCurveColors[a]);
        TextAt(painter, plot.right - 60 + 20 * a, plot.top - 30, QLatin1String(names[a]));
    }

    const SpectrumTriple triple = content.Triple();
    if (!triple[0] && !triple[1] && !triple[2]) {
        painter.setPen(Qt::darkGray);
        painter.drawText(QRect(plot.left, plot.top, plot.Width(), plot.Height()), Qt::AlignCenter,
                         content.note);
        return;
    }
    ChartLayout layout;
    layout.plot = plot;
    const AxisRange x{float(state.x.min), float(state.x.max)};
    const AxisRange y{float(state.y.min), float(state.y.max)};
    std::vector<QPoint> points;
    for (int a = 0; a < 3; ++a) {
        if (!triple[a]) continue;
        BuildCurvePoints(content.display[a].data(), int(content.display[a].size()),
                         float(triple[a]->lineSpacing), layout, x, y, CurveMode::Auto, points);
        if (points.empty()) continue;
        painter.setPen(QPen(kWaveCurveColors[a], 1));
        painter.drawPolyline(points.data(), int(points.size()));
    }
}

void DrawSpectrumOverlay(QPainter& painter, const ChartRect& plot,
                         const SpectrumChartContent& content, const FrequencyViewState& state) {
    const SpectrumTriple triple = content.Triple();
    const double speed = state.runningSpeedHz;
    DrawMarkers(painter, plot, state.x, MarkerFrequencies(speed, 0, state.x, plot.Width()),
                kOrderColor, QStringLiteral("X"), speed, plot.top + 2);
    if (!state.cursorHz) return;
    const std::optional<SpectrumCursor> cursor = CursorNear(triple, *state.cursorHz, 0, speed);
    if (!cursor) return;
    if (state.harmonics && cursor->frequency > 0) {
        DrawMarkers(painter, plot, state.x,
                    MarkerFrequencies(cursor->frequency, kHarmonicCount, state.x, plot.Width()),
                    kHarmonicColor, QStringLiteral("H"), cursor->frequency, plot.top + 14);
    }
    const int column = ColumnOfHz(plot, state.x, cursor->frequency);
    if (column < plot.left || column > plot.right) return;
    painter.setPen(QPen(Qt::black, 1));
    painter.drawLine(column, plot.top, column, plot.bottom);
    painter.setFont(ArialPixels(14, true));
    for (int a = 0; a < 3; ++a) {
        if (!triple[a]) continue;
        const int row = RowOf(plot, state.y, DisplayAmplitude(cursor->amplitude[a], state.scale));
        if (row < plot.top || row > plot.bottom) continue;
        painter.setPen(kWaveCurveColors[a]);
        TextAt(painter, column - 4, row - 8, QStringLiteral("+"));
    }
    const auto lines = CursorReadoutLines(*cursor, content.unit.toStdString());
    painter.setFont(ArialPixels(13));
    const bool leftHalf = column < plot.left + plot.Width() / 2;
    const QFontMetrics metrics(painter.font());
    const int width = std::max(metrics.horizontalAdvance(QString::fromStdString(lines[0])),
                               metrics.horizontalAdvance(QString::fromStdString(lines[1]))) +
                      8;
    const QRect box(leftHalf ? column + 4 : column - 4 - width, plot.top + 28, width,
                    2 * metrics.height() + 6);
    painter.fillRect(box, QColor(255, 255, 255, 220));
    painter.setPen(Qt::black);
    painter.drawRect(box);
    painter.drawText(box.adjusted(4, 3, -4, -3), Qt::AlignLeft | Qt::AlignTop,
                     QString::fromStdString(lines[0] + "\n" + lines[1]));
}

}  // namespace orsan
