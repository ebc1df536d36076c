#include "AlarmMonitor.h"

#include <QCoreApplication>
#include <QDateTime>

#include "Freshness.h"
#include "IniFile.h"

namespace orsan {

AlarmMonitor::AlarmMonitor(Clock steady, Clock wall)
    : steady_(std::move(steady)), wall_(std::move(wall)) {
    if (!steady_) steady_ = [] { return SteadyMsNow(); };
    if (!wall_) wall_ = [] { return int64_t(QDateTime::currentMSecsSinceEpoch()); };
    // A sensor coming back can mature a level with the same reading.
    events_.reserve(2 * kSensorCount);
}

QStringList AlarmMonitor::LoadSettings(const QString& dataDir) {
    const INIFILE file(AlarmIniPath(dataDir));
    // A file that is not text is not read at all, as its message says.
    if (const QString notText = AlarmIniNotTextProblem(file); !notText.isEmpty()) {
        soundEnabled_ = true;
        for (int n = 1; n <= kSensorCount; ++n) SetSettings(n, SensorAlarmSettings{});
        return {notText};
    }
    QStringList problems = CheckAlarmSections(file);
    soundEnabled_ = LoadAlarmSoundEnabled(file, &problems);
    for (int n = 1; n <= kSensorCount; ++n)
        SetSettings(n, LoadSensorAlarmSettings(file, n, &problems));
    return problems;
}

void AlarmMonitor::SetSettings(int sensor, const SensorAlarmSettings& settings) {
    settings_[size_t(sensor - 1)] = settings;
    engine_.SetLimits(sensor, ComputeAlarmLimits(settings));
}

bool AlarmMonitor::OpenStore(const QString& dataDir, bool readOnly) {
    writable_ = false;
    if (!store_.Open(dataDir,
                     readOnly ? AlarmStore::Mode::ExistingOnly : AlarmStore::Mode::CreateIfMissing))
        return false;
    writable_ = !readOnly;
    held_.SetFolder(dataDir);
    std::vector<AlarmStore::StandingAlarm> standing;
    if (!store_.LoadStandingAlarms(&standing)) return false;
    for (const AlarmStore::StandingAlarm& alarm : standing) {
        if (alarm.sensor < 1 || alarm.sensor > kSensorCount) continue;
        states_.Restore(alarm.sensor, alarm.kind, alarm.quantity, alarm.state);
        if (!IsActive(alarm.state)) continue;
        if (alarm.kind == AlarmKind::Lost)
            engine_.RestoreLost(alarm.sensor);
        else if (engine_.RaisedLevel(alarm.sensor, alarm.quantity) != AlarmKind::Trip)
            engine_.Restore(alarm.sensor, alarm.quantity, alarm.kind);
    }
    return true;
}

// A writable store takes every acknowledgement, now or once it has room:
// nothing is lost, so they count as kept.
bool AlarmMonitor::Acknowledge(int sensor, AlarmKind kind, const QString& who,
                               AlarmQuantity quantity) {
    states_.Acknowledge(sensor, kind, quantity);
    if (writable_) {
        held_.AcknowledgeAlarm(sensor, kind, who, wall_(), quantity);
        return true;
    }
    return !store_.IsOpen() || store_.AcknowledgeAlarm(sensor, kind, who, wall_(), quantity);
}

bool AlarmMonitor::AcknowledgeEvent(const AlarmEvent& event, const QString& who) {
    if (IsRaisingKind(event.kind))
        return Acknowledge(event.sensor, event.kind, who, event.Quantity());
    if (writable_) {
        if (event.id != 0) held_.Acknowledge(event.id, who, wall_());
        return true;
    }
    return event.id <= 0 || !store_.IsOpen() || store_.Acknowledge(event.id, who, wall_());
}

bool AlarmMonitor::AcknowledgeAll(const QString& who) {
    states_.AcknowledgeAll();
    if (writable_) {
        held_.AcknowledgeAll(who, wall_());
        return true;
    }
    return !store_.IsOpen() || store_.AcknowledgeAll(who, wall_());
}

bool AlarmMonitor::WriteHeldNow() {
    writtenFromHold_ = held_.Retry(steady_(), true);
    return held_.IsEmpty();
}

QString AlarmMonitor::HeldText() const {
    return QCoreApplication::translate(
               "AlarmMonitor",
               "报警记录暂存于内存（%1 条事件、%2 次确认未写入），磁盘空间恢复后自动写入：%3")
        .arg(HeldEventCount())
        .arg(HeldAcknowledgementCount())
        .arg(store_.LastError());
}

QString AlarmMonitor::WrittenFromHoldText() const {
    return QCoreApplication::translate("AlarmMonitor", "暂存的 %1 条报警事件已写入数据库。")
        .arg(writtenFromHold_);
}

QString AlarmMonitor::LostAtStopText() const {
    return QCoreApplication::translate(
               "AlarmMonitor",
               "报警记录未能写入数据库：%1 条报警事件和 %2 次确认随程序停止而丢失；"
               "下次启动时无法恢复这些报警的状态。")
        .arg(HeldEventCount())
        .arg(HeldAcknowledgementCount());
}

const std::vector<AlarmEvent>& AlarmMonitor::Update(
    const std::array<SensorStatus, kSensorCount>& statuses,
    const std::array<uint32_t, kSensorCount>& addresses, double recordIntervalSeconds) {
    events_.clear();
    newAlarms_ = 0;
    // The wall clock is read only when something matured: a quiet refresh
    // costs one clock reading.
    const int64_t now = steady_();
    // What waits is written before anything new.
    writtenFromHold_ = writable_ ? held_.Retry(now) : 0;
    const int64_t freshForMs = FreshnessLimitMs(recordIntervalSeconds);
    for (size_t i = 0; i < statuses.size(); ++i) {
        const SensorStatus& status = statuses[i];
        SensorReading& reading = readings_[i];
        reading.watched = addresses[i] != 0 && !status.paused;
        reading.fresh = IsFreshReading(status, now, freshForMs);
        reading.steadyMs = status.lastGoodReadSteadyMs;
        reading.worst = WorstVelocityOf(status.record);
        reading.temperature = status.record.T_Shell;
    }
    engine_.Step(now, readings_, &zones_, &events_);
    if (events_.empty()) return events_;
    const int64_t wall = wall_();
    for (AlarmEvent& event : events_) {
        event.timeMs = wall;
        if (writable_)
            held_.Insert(&event);
        else if (!store_.Insert(&event))
            ++storeFailures_;
        if (states_.Apply(event)) ++newAlarms_;
    }
    return events_;
}

SensorZoneLetters AlarmMonitor::ZoneLetters() const {
    SensorZoneLetters letters{};
    for (int i = 0; i < kSensorCount; ++i) letters[size_t(i)] = char(zones_[size_t(i)]);
    return letters;
}

}  // namespace orsan
