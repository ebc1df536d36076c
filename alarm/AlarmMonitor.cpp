#include "AlarmMonitor.h"

#include <QDateTime>
#include <chrono>

#include "IniFile.h"

namespace orsan {

AlarmMonitor::AlarmMonitor(Clock clock) : clock_(std::move(clock)) {
    if (!clock_) {
        clock_ = [] {
            const auto steady = std::chrono::steady_clock::now().time_since_epoch();
            return AlarmClockReading{
                std::chrono::duration_cast<std::chrono::milliseconds>(steady).count(),
                QDateTime::currentMSecsSinceEpoch()};
        };
    }
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
    engine_.Step(clock_(), values, commOk, &zones_, &events_);
    for (AlarmEvent& event : events_)
        if (!store_.Insert(&event)) ++storeFailures_;
    return events_;
}

SensorZoneLetters AlarmMonitor::ZoneLetters() const {
    SensorZoneLetters letters{};
    for (int i = 0; i < kSensorCount; ++i) letters[size_t(i)] = char(zones_[size_t(i)]);
    return letters;
}

}  // namespace orsan
