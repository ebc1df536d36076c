#pragma once

#include <QCoreApplication>
#include <QDate>
#include <QString>
#include <vector>

#include "AlarmEvent.h"
#include "DayTally.h"
#include "HistoryReduction.h"

namespace orsan {

// The report's trend chart in the history chart's pixels; the rows are
// reduced for its plot while they are read.
inline constexpr int kReportChartWidth = 800;
inline constexpr int kReportChartHeight = 360;

// One configured sensor's machine over the day.
struct MachineDay {
    int sensor = 0;  // 1..6
    QString name;    // Config.ini's machine name; may be empty
    uint32_t address = 0;
    ZoneBoundaries zones;
    DayStatistics stats;
    HistoryReduction chartRows;
    std::vector<AlarmEvent> events;  // of the day, oldest first

    // ALARM and TRIP events of the day.
    int AlarmCount() const;
    // What the record holds of the event's instant: an event while nothing
    // was recorded is one the day's statistics did not see.
    Coverage EventCoverage(const AlarmEvent& event) const { return stats.At(event.timeMs); }
    // Events of the day (of any kind) while nothing was recorded.
    int UnrecordedEventCount() const;
};

struct DailyReport {
    QDate day;
    qint64 fromMs = 0;  // local midnight that starts the day
    qint64 toMs = 0;    // the next one (23 or 25 hours later on a change of clocks)
    QString stationTitle;
    std::vector<MachineDay> machines;  // the configured sensors, by number
    double DaySeconds() const { return double(toMs - fromMs) / 1000.0; }
};

// Reads the day's report from the data folder: the sensors, their names and
// zone boundaries from Config.ini and Alarm.ini, their rows from the record
// and the events from its table `alarm`. A day without rows is a report
// that says so; false with the reason when the record cannot be read.
class DailyReportReader {
    Q_DECLARE_TR_FUNCTIONS(DailyReportReader)
public:
    static bool Read(const QString& dataDir, QDate day, DailyReport* report, QString* error);
};

// "Report_YYYYMMDD.pdf".
QString DailyReportFileName(QDate day);

}  // namespace orsan
