#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QString>
#include <array>
#include <vector>

#include "WaveChartMath.h"

namespace orsan {

inline constexpr int kWaveCurveCount = 3;

// X, Y, Z; the cursor markers use the same colours.
inline const std::array<QColor, kWaveCurveCount> kWaveCurveColors = {
    QColor(237, 28, 36), QColor(34, 177, 76), QColor(63, 72, 204)};

// The charts' text: Arial at a pixel size, placed by its top-left corner.
QFont ArialPixels(int pixels, bool bold = false);
void TextAt(QPainter& painter, int x, int y, const QString& text);

// What the chart shows besides its geometry and ranges.
struct WaveChartContent {
    std::array<std::vector<float>, kWaveCurveCount> samples;
    std::array<bool, kWaveCurveCount> visible{true, true, true};
    float interval = 1.0f / 26667.0f;
    int sampleCount = 26667;
    float origin = 0;  // time of the first sample, s: the second of the capture shown
    QString xUnit = QStringLiteral("s");
    QString yUnit = QStringLiteral("g");
    QString title = QStringLiteral("Realtime Wave of Tri-Axis Acceleration");
};

// Background, frame, grid, ticks, labels, boxes and curves, in that order,
// into image (which has the layout's size).
void RenderWaveChart(QImage& image, const ChartLayout& layout, const ChartView& view,
                     const WaveChartContent& content, CurveMode mode = CurveMode::Auto);

// The cursor line with its time, its three values and coloured markers.
void DrawCursorReadout(QPainter& painter, const ChartLayout& layout, const ChartView& view,
                       const WaveChartContent& content);

// Texts of the cursor readout (empty when the cursor shows nothing).
struct CursorTexts {
    QString time;
    QString values;
};
CursorTexts CursorReadoutTexts(const ChartLayout& layout, const ChartView& view,
                               const WaveChartContent& content);

}  // namespace orsan
