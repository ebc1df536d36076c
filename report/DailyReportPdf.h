#pragma once

#include <QString>

#include "DailyReport.h"
#include "TrendGeometry.h"

namespace orsan {

// Writes the report as a PDF (Qt's own writer), atomically: a first page
// with every machine in one table, then one page per machine with the day's
// velocity and temperature trend drawn by the history chart's painter, the
// statistics, the time in each zone and the day's events with their
// acknowledgements (further pages when the events do not fit). False with
// the reason, naming the file, when it cannot be written.
bool WriteDailyReportPdf(const DailyReport& report, const QString& path, QString* error);

// Axis limits that hold the day's readings: whole tens of degrees around
// the temperatures, and a velocity axis up to a round value (1, 2, 3, 4, 5, 6 or 8
// times a power of ten) above the highest velocity and the A/B boundary, so a
// quiet machine does not fill the chart.
TrendLimits DayChartLimits(const MachineDay& machine);

}  // namespace orsan
