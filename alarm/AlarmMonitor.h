#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <vector>

#include "AlarmEngine.h"
#include "AlarmSettings.h"
#include "AlarmStates.h"
#include "AlarmStore.h"
#include "LiveReport.h"
#include "SensorPoller.h"

namespace orsan {

// Zones and alarms of the six sensors for one station: the settings of
// Alarm.ini, the event logic, and the store the events go to. The window and
// the headless mode call Update on every refresh with the poller's statuses.
class AlarmMonitor {
public:
    using Clock = std::function<int64_t()>;  // milliseconds

    // The steady clock measures the delays and judges freshness, so it is the
    // one the readings are dated with (SteadyMsNow); the wall clock (since the
    // epoch) dates the events. The system's unless a test gives others.
    explicit AlarmMonitor(Clock steady = {}, Clock wall = {});

    // Reads Alarm.ini of the data folder for all six sensors; the messages
    // about refused values (empty when everything was accepted).
    QStringList LoadSettings(const QString& dataDir);
    // Takes new settings of one sensor (1..6), from the dialog.
    void SetSettings(int sensor, const SensorAlarmSettings& settings);
    const SensorAlarmSettings& Settings(int sensor) const { return settings_[size_t(sensor - 1)]; }
    // Alarm.ini [GLOBAL] SOUND, as last loaded.
    bool SoundEnabled() const { return soundEnabled_; }
    const AlarmLimits& Limits(int sensor) const { return engine_.Limits(sensor); }

    // Opens the event table; false with store().LastError() on failure. The
    // zones and events work without it; they are only not kept.
    // readOnly (a data folder the user cannot write): stored events are
    // listed, new ones are not kept. The alarms an earlier run left standing
    // go on as they were: an active one stays active, with its
    // acknowledgement, until fresh readings clear it (or restore the sensor);
    // one that returned unacknowledged waits for its acknowledgement.
    bool OpenStore(const QString& dataDir, bool readOnly = false);
    AlarmStore& Store() { return store_; }

    // One refresh with each sensor's status (row i is sensor i + 1), the
    // addresses (0.0.0.0: no sensor, never lost) and the record interval that
    // decides how old a reading may be and still be fresh. Grades every
    // sensor and stores and returns the events that matured now (valid until
    // the next Update).
    const std::vector<AlarmEvent>& Update(const std::array<SensorStatus, kSensorCount>& statuses,
                                          const std::array<uint32_t, kSensorCount>& addresses,
                                          double recordIntervalSeconds);

    const std::array<Zone, kSensorCount>& Zones() const { return zones_; }
    // Sensor 1..6's level raised and not cleared (Alarm or Trip), and its loss.
    std::optional<AlarmKind> RaisedLevel(int sensor,
                                         AlarmQuantity quantity = AlarmQuantity::Velocity) const {
        return engine_.RaisedLevel(sensor, quantity);
    }
    bool IsLost(int sensor) const { return engine_.IsLost(sensor); }
    // The zones as the headless JSON line carries them.
    SensorZoneLetters ZoneLetters() const;
    // Events of this run that could not be stored and are not held (a store
    // that is not open, or read-only).
    int StoreFailures() const { return storeFailures_; }

    // Events and acknowledgements the writable store could not take (a full
    // disk) are held in memory and written, in order, once it takes them
    // again; Update tries at most every few seconds while the disk has room.
    int HeldEventCount() const { return held_.HeldEventCount(); }
    int HeldAcknowledgementCount() const { return held_.HeldAcknowledgementCount(); }
    bool HoldsWrites() const { return !held_.IsEmpty(); }
    // Oldest first, ids -1, -2, ...
    std::vector<AlarmEvent> HeldEvents() const { return held_.HeldEvents(); }
    // Held events the last Update wrote.
    int WrittenFromHold() const { return writtenFromHold_; }
    // At a stop: one more attempt, whatever the disk says; true when nothing
    // is held any more.
    bool WriteHeldNow();
    // The user's words: what is held and why; that the held events were
    // written; what a stop now loses (the alarm states of a restart come
    // from the table, so held events cannot come back).
    QString HeldText() const;
    QString WrittenFromHoldText() const;
    QString LostAtStopText() const;

    // The alarm states, moved by every Update and acknowledgement.
    const AlarmStates& States() const { return states_; }
    // Alarms that became active and unacknowledged in the last Update.
    int NewAlarms() const { return newAlarms_; }
    // Whether flashing things are lit now, on the steady clock.
    bool FlashOn() const { return FlashPhaseOn(steady_()); }

    // Acknowledgements by `who`, dated by the wall clock: one alarm (all its
    // unacknowledged events), one event (an alarm's event acknowledges the
    // alarm), everything. The states move even when the store cannot keep
    // the acknowledgement (false, with Store().LastError()).
    bool Acknowledge(int sensor, AlarmKind kind, const QString& who,
                     AlarmQuantity quantity = AlarmQuantity::Velocity);
    bool AcknowledgeEvent(const AlarmEvent& event, const QString& who);
    bool AcknowledgeAll(const QString& who);

private:
    Clock steady_;
    Clock wall_;
    std::array<SensorAlarmSettings, kSensorCount> settings_;
    AlarmEngine engine_;
    AlarmStore store_;
    HeldAlarmWrites held_{store_};
    bool writable_ = false;  // the store is open for writing: failed writes are held
    int writtenFromHold_ = 0;
    std::array<Zone, kSensorCount> zones_{};
    std::vector<AlarmEvent> events_;
    SensorReadings readings_{};
    int storeFailures_ = 0;
    AlarmStates states_;
    int newAlarms_ = 0;
    bool soundEnabled_ = true;
};


}  // namespace orsan
