#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "AlarmEngine.h"
#include "AlarmSettings.h"
#include "AlarmStore.h"
#include "LiveReport.h"

namespace orsan {

// Zones and alarms of the six sensors for one station: the settings of
// Alarm.ini, the event logic, and the store the events go to. The window and
// the headless mode call Update on every refresh.
class AlarmMonitor {
public:
    using Clock = std::function<int64_t()>;  // milliseconds

    // The steady clock measures the delays, the wall clock (since the epoch)
    // dates the events; the system's unless a test gives others.
    explicit AlarmMonitor(Clock steady = {}, Clock wall = {});

    // Reads Alarm.ini of the data folder for all six sensors; the messages
    // about refused values (empty when everything was accepted).
    QStringList LoadSettings(const QString& dataDir);
    // Takes new settings of one sensor (1..6), from the dialog.
    void SetSettings(int sensor, const SensorAlarmSettings& settings);
    const SensorAlarmSettings& Settings(int sensor) const { return settings_[size_t(sensor - 1)]; }
    const AlarmLimits& Limits(int sensor) const { return engine_.Limits(sensor); }

    // Opens the event table; false with store().LastError() on failure. The
    // zones and events work without it; they are only not kept.
    bool OpenStore(const QString& dataDir);
    AlarmStore& Store() { return store_; }

    // One refresh: grades every sensor and stores and returns the events that
    // matured now (valid until the next Update).
    const std::vector<AlarmEvent>& Update(const LiveValues& values,
                                          const std::array<bool, kSensorCount>& commOk);

    const std::array<Zone, kSensorCount>& Zones() const { return zones_; }
    // The zones as the headless JSON line carries them.
    SensorZoneLetters ZoneLetters() const;
    // Events of this run that could not be stored.
    int StoreFailures() const { return storeFailures_; }

private:
    Clock steady_;
    Clock wall_;
    std::array<SensorAlarmSettings, kSensorCount> settings_;
    AlarmEngine engine_;
    AlarmStore store_;
    std::array<Zone, kSensorCount> zones_{};
    std::vector<AlarmEvent> events_;
    int storeFailures_ = 0;
};

}  // namespace orsan
