#include "DailyReport.h"

#include <QTimeZone>
#include <algorithm>

#include "AlarmSettings.h"
#include "AlarmStore.h"
#include "RecordDatabase.h"
#include "SensorRangeReader.h"
#include "StationConfig.h"
#include "TrendGeometry.h"

namespace orsan {

namespace {

// Rows looked at beyond each end of the day for the fresh reading next to
// midnight. The gap rule is at most seven row spacings (three, or 2 s at
// 0.3 s), so a fresh reading further away would not count anyway.
constexpr int kEdgeRows = 16;
constexpr qint64 kDayMs = 24 * 3600 * 1000;

qint64 LocalMidnightMs(QDate day) {
    return day.startOfDay(QTimeZone::systemTimeZone()).toMSecsSinceEpoch();
}

bool ReadMachineRows(RecordDatabase& db, qint64 fromMs, qint64 toMs, MachineDay& machine,
                     QString* error) {
    DayTally tally(fromMs, toMs, ZoneThresholds(machine.zones));
    TrendTimeRange range;
    range.start = double(fromMs) / 1000.0;
    range.end = double(toMs) / 1000.0;
    range.startTime = int32_t(fromMs / 1000);
    range.endTime = int32_t(toMs / 1000);
    machine.chartRows.Reset(range,
                            ComputeTrendLayout(kReportChartWidth, kReportChartHeight).plotRect);

    std::array<float, kCurveCount> values{};
    const auto failed = [error](const SensorRangeReader& reader) {
        if (reader.Error().isEmpty()) return false;
        if (error) *error = reader.Error();
        return true;
    };
    // Before midnight: newest first, added oldest first.
    struct EdgeRow {
        qint64 ms;
        bool fresh;
        std::array<float, kCurveCount> values;
    };
    std::vector<EdgeRow> before;
    SensorRangeReader previous(db, machine.sensor,
                               RecordRange::Between(fromMs - kDayMs, fromMs - 1),
                               SensorRangeReader::Order::Newest, kEdgeRows);
    while (previous.Next()) {
        previous.PlotValues(values);
        before.push_back({previous.TimeMs(), previous.Fresh(), values});
    }
    if (failed(previous)) return false;
    for (auto row = before.rbegin(); row != before.rend(); ++row)
        tally.Add(row->ms, row->fresh, row->values);

    SensorRangeReader rows(db, machine.sensor, RecordRange::Between(fromMs, toMs - 1));
    while (rows.Next()) {
        rows.PlotValues(values);
        tally.Add(rows.TimeMs(), rows.Fresh(), values);
        machine.chartRows.Add(double(rows.TimeMs()) / 1000.0, values);
    }
    if (failed(rows)) return false;

    SensorRangeReader next(db, machine.sensor, RecordRange::Between(toMs, toMs + kDayMs),
                           SensorRangeReader::Order::Oldest, kEdgeRows);
    while (next.Next()) {
        next.PlotValues(values);
        tally.Add(next.TimeMs(), next.Fresh(), values);
        if (next.Fresh()) break;
    }
    if (failed(next)) return false;
    // The chart's own gap rule over the day's rows decides which stretches
    // count, both between fresh readings (the zones) and between any rows
    // (the recorded time: a longer break is "未记录").
    machine.stats = tally.Result(machine.chartRows.GapSeconds());
    return true;
}

}  // namespace

int MachineDay::AlarmCount() const {
    return int(std::count_if(events.begin(), events.end(), [](const AlarmEvent& e) {
        return e.kind == AlarmKind::Alarm || e.kind == AlarmKind::Trip;
    }));
}

int MachineDay::UnrecordedEventCount() const {
    return int(std::count_if(events.begin(), events.end(), [this](const AlarmEvent& e) {
        return EventCoverage(e) == Coverage::Unrecorded;
    }));
}

QString DailyReportFileName(QDate day) {
    return QStringLiteral("Report_%1.pdf").arg(day.toString(QStringLiteral("yyyyMMdd")));
}

bool DailyReportReader::Read(const QString& dataDir, QDate day, DailyReport* report,
                             QString* error) {
    report->day = day;
    report->fromMs = LocalMidnightMs(day);
    report->toMs = LocalMidnightMs(day.addDays(1));
    report->stationTitle = LoadTitle(INIFILE(InfoPath(dataDir)));
    report->machines.clear();

    RecordDatabase db;
    if (!db.Open(dataDir, RecordDatabase::Mode::ExistingOnly)) {
        if (error)
            *error = tr("无法打开记录数据库 %1：%2")
                         .arg(RecordDatabase::PathIn(dataDir), db.LastDiagnostic());
        return false;
    }
    AlarmStore alarms;
    std::vector<AlarmEvent> events;
    if (!alarms.Open(dataDir, AlarmStore::Mode::ExistingOnly) ||
        !alarms.LoadBetween(report->fromMs, report->toMs - 1, &events)) {
        if (error) *error = tr("无法读取报警记录：%1").arg(alarms.LastError());
        return false;
    }

    const StationConfig config = LoadStationConfig(INIFILE(ConfigPath(dataDir)));
    const INIFILE alarmIni(AlarmIniPath(dataDir));
    for (int sensor = 1; sensor <= kSensorCount; ++sensor) {
        if (config.addresses[size_t(sensor - 1)] == 0) continue;
        MachineDay& machine = report->machines.emplace_back();
        machine.sensor = sensor;
        machine.name = config.names[size_t(sensor - 1)];
        machine.address = config.addresses[size_t(sensor - 1)];
        // Refused settings fall back to their defaults, as the alarms use them.
        machine.zones =
            ComputeAlarmLimits(LoadSensorAlarmSettings(alarmIni, sensor, nullptr)).zones;
        if (!ReadMachineRows(db, report->fromMs, report->toMs, machine, error)) return false;
        std::copy_if(events.begin(), events.end(), std::back_inserter(machine.events),
                     [sensor](const AlarmEvent& e) { return e.sensor == sensor; });
    }
    return true;
}

}  // namespace orsan
