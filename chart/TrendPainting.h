#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <array>

#include "TrendGeometry.h"
#include "TrendStyle.h"

class QPainter;

namespace orsan {

// What the live trend chart and the history chart draw alike.

// Where the solid vertical grid lines go: every fifth grid column, under
// the live chart's six labels, or with the time ticks (PaintTimeTicks).
enum class TimeGrid { EveryFifthColumn, AtTicks };

// White client area, plot frame, dashed and solid grid, the four value axes
// with their ticks, labels, names and units, the two title lines and the
// legend of the visible curves.
void PaintTrendFrame(QPainter& painter, const TrendLayout& layout, const TrendLimits& limits,
                     const std::array<int, kCurveCount>& visible, const QString& titleChinese,
                     const QString& titleEnglish, TimeGrid grid = TimeGrid::EveryFifthColumn);

// A chart's two title lines in the language now installed: the Chinese
// title over the English one, or the translated title alone, as a second
// English line would only repeat it.
struct ChartTitle {
    ChartTitle(const char* context, const char* chinese, const QString& english);
    QString first;
    QString second;
};

// The six time labels below the plot.
void PaintTimeLabels(QPainter& painter, const TrendLayout& layout, const TrendTimeRange& range);
// A solid line and a label below the plot at each round time of the range
// (RoundTimeTicks), for a frame painted with TimeGrid::AtTicks.
void PaintTimeTicks(QPainter& painter, const TrendLayout& layout, const TrendTimeRange& range);

// Cursor line and the eleven readout lines of one sample.
void PaintReadout(QPainter& painter, const EdgeRect& plot, int cursorX, const SensorSample& sample);
// Cursor line and the given readout lines.
void PaintReadoutLines(QPainter& painter, const EdgeRect& plot, int cursorX,
                       const QStringList& lines);

// The image as an RGB PNG at path, atomically. False with a message naming
// the file and the reason (also for a null image).
bool SaveChartImage(const QImage& image, const QString& path, QString* error);

}  // namespace orsan
