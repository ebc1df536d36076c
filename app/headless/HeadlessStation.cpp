#include "HeadlessStation.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QTextStream>
#include <QTimer>
#include <algorithm>

#include "AlarmMonitor.h"
#include "Freshness.h"
#include "IniFile.h"
#include "LiveReport.h"
#include "RecordDatabase.h"
#include "SensorPoller.h"
#include "SignalQuit.h"
#include "StationConfig.h"
#include "StationPolling.h"

namespace orsan {

namespace {
constexpr int kRefreshMs = 300;
// A timer period is an int of milliseconds; longer runs are waited out in
// steps of at most a day, against one deadline.
constexpr qint64 kLongestStepMs = 24LL * 3600 * 1000;
// Beyond this (some 30 years) a run is as good as endless.
constexpr double kLongestRunMs = 1e12;
bool CanWriteDatabaseIn(const QString& folder) {
    const QFileInfo database(RecordDatabase::PathIn(folder));
    return QFileInfo(folder).isWritable() && (!database.exists() || database.isWritable());
}

}  // namespace

int RunHeadless(const HeadlessOptions& options, QTextStream& out, QTextStream& err) {
    // First, so a signal during start-up also ends the run cleanly once the
    // loop runs.
    SignalQuit signalQuit;
    const INIFILE configFile(ConfigPath(options.dataDir));
    const StationConfig config = LoadStationConfig(configFile);

    SensorPoller poller;
    StartStationPolling(poller, config.addresses, config.ports, config.links);

    const auto tell = [&err](const QString& text) {
        err << "orsan-monitor: " << text << '\n';
        err.flush();
    };
    // Zones and alarm events whenever the station runs, recording or not.
    AlarmMonitor alarms;
    for (const QString& problem : alarms.LoadSettings(options.dataDir)) err << problem << '\n';
    // A folder that cannot be written (watching another's recordings) keeps
    // no events: said in one line, not the engine's error block.
    if (!CanWriteDatabaseIn(options.dataDir))
        tell(QCoreApplication::translate("Headless",
                                         "数据文件夹%1无法写入：报警事件只在标准输出列出，不保存")
                 .arg(options.dataDir));
    else if (!alarms.OpenStore(options.dataDir))
        err << "alarm events are not stored: " << alarms.Store().LastError() << '\n';
    err.flush();

    auto refresh = [&] {
        const int unstoredBefore = alarms.StoreFailures();
        const bool heldBefore = alarms.HoldsWrites();
        const std::vector<AlarmEvent>& events =
            alarms.Update(PollerStatuses(poller), config.addresses, config.interval);
        // Once per spell of a full disk, not with every event it holds.
        if (alarms.WrittenFromHold() > 0) tell(alarms.WrittenFromHoldText());
        if (!heldBefore && alarms.HoldsWrites()) tell(alarms.HeldText());
        if (events.empty()) return;
        for (const AlarmEvent& event : events)
            out << QString::fromStdString(
                       FormatAlarmEventJson(event, event.sensor >= 1 && event.sensor <= kSensorCount
                                                       ? config.names[size_t(event.sensor - 1)]
                                                       : QString()))
                << '\n';
        out.flush();
        // A store that never opened was reported at the start, once.
        if (alarms.StoreFailures() != unstoredBefore && alarms.Store().IsOpen()) {
            err << "alarm event not stored: " << alarms.Store().LastError() << '\n';
            err.flush();
        }
    };

    QTimer refreshTimer;
    QObject::connect(&refreshTimer, &QTimer::timeout, refresh);
    refreshTimer.start(kRefreshMs);

    QTimer recordTimer;
    // Coarse timers may fire up to 5 % early; rows must keep their interval.
    recordTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&recordTimer, &QTimer::timeout, [&] {
        // "ok", the values and the row say the same, all from one copy of
        // the poller's table: only a fresh reading is one.
        const ReadingSnapshot snapshot = TakeReadingSnapshot(poller, config.interval);
        const RecordRow row = BuildRecordRowNow(snapshot);
        out << QString::fromStdString(FormatLiveReport(
                   row.time, row.milliseconds, snapshot.values, row.fresh, alarms.ZoneLetters(),
                   options.backlog ? options.backlog() : std::nullopt, config.names,
                   options.conflicts ? options.conflicts() : std::nullopt))
            << '\n';
        out.flush();
        if (options.recordSink && !options.recordSink(row)) {
            recordTimer.stop();
            QCoreApplication::exit(1);
        }
    });
    recordTimer.start(int(config.interval * 1000.0f));

    QTimer durationTimer;
    durationTimer.setSingleShot(true);
    durationTimer.setTimerType(Qt::PreciseTimer);
    if (options.durationSeconds > 0) {
        const QDeadlineTimer end(qint64(std::min(options.durationSeconds * 1000.0, kLongestRunMs)),
                                 Qt::PreciseTimer);
        auto step = [&durationTimer, end] {
            if (end.hasExpired()) {
                QCoreApplication::quit();
                return;
            }
            const qint64 left = end.remainingTime();  // -1: never
            durationTimer.start(int(left < 0 ? kLongestStepMs : std::min(left, kLongestStepMs)));
        };
        QObject::connect(&durationTimer, &QTimer::timeout, step);
        // The first step runs inside the event loop, where quit takes effect.
        durationTimer.start(0);
    }

    const int code = QCoreApplication::exec();
    recordTimer.stop();
    refreshTimer.stop();
    poller.StopPolling();
    if (alarms.HoldsWrites() && !alarms.WriteHeldNow()) tell(alarms.LostAtStopText());
    if (signalQuit.ReceivedSignal() != 0)
        err << "stopped by signal " << signalQuit.ReceivedSignal() << '\n';
    return code;
}

}  // namespace orsan
