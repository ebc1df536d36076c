#include "AlarmMonitor.h"

#include <QDateTime>
#include <chrono>

#include "IniFile.h"

namespace orsan {

AlarmMonitor::AlarmMonitor(Clock steady, Clock wall)
    : steady_(std::move(steady)), wall_(std::move(wall)) {
    if (!steady_) {
        steady_ = [] {
            return int64_t(std::chrono::duration_cast<std::chrono::milliseconds>(
                               std::chrono::steady_clock::now().time_since_epoch())
                               .count());
        };
    }
    if (!wall_) wall_ = [] { return int64_t(QDateTime::currentMSecsSinceEpoch()); };
    events_.reserve(kSensorCount);
}

QStringList AlarmMonitor::LoadSettings(const QString& dataDir) {
    const INIFILE file(AlarmIniPath(dataDir));
    QStringList problems;
    for (int n = 1; n <= kSensorCount; ++n)
        SetSettings(n, LoadSensorAlarmSettings(file, n, &problems));
    return problems;
}

void AlarmMonitor::SetSettings(int sensor, const SensorAlarmSettings& settings) {
    settings_[size_t(sensor - 1)] = settings;
    engine_.SetLimits(sensor, ComputeAlarmLimits(settings));
}

bool AlarmMonitor::OpenStore(const QString& dataDir) {
    return store_.Open(dataDir);
}

const std::vector<AlarmEvent>& AlarmMonitor::Update(const LiveValues& values,
                                                    const std::array<bool, kSensorCount>& commOk) {
    events_.clear();
    // The wall clock is read only when something matured: a quiet refresh
    // costs one clock reading.
    engine_.Step(steady_(), values, commOk, &zones_, &events_);
    if (events_.empty()) return events_;
    const int64_t wall = wall_();
    for (AlarmEvent& event : events_) {
        event.timeMs = wall;
        if (!store_.Insert(&event)) ++storeFailures_;
    }
    return events_;
}

SensorZoneLetters AlarmMonitor::ZoneLetters() const {
    SensorZoneLetters letters{};
    for (int i = 0; i < kSensorCount; ++i) letters[size_t(i)] = char(zones_[size_t(i)]);
    return letters;
}

}  // namespace orsan
