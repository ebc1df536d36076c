#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <utility>
#include <vector>

#include "AlarmEvent.h"
#include "AlarmStates.h"
#include "HeldAlarmWrites.h"

class QSqlError;

namespace orsan {

// The events in table `alarm` of DataRecord.db (columns Time, msTime,
// Sensor, Axis, Value, Zone, Kind, Ack, AckBy, AckTime), on a connection of
// its own beside the record database's. Every acknowledgement is also a row
// of table `alarm_ack` (Time, msTime, Alarm = the event's rowid, AckBy), the
// log the plant server learns acknowledgements from. UI thread only.
class AlarmStore : public AlarmEventWrites {
public:
    enum class Mode {
        CreateIfMissing,  // the station: the file and the table are made as needed
        ExistingOnly,     // exports: read-only, the file must exist; a missing table reads as empty
    };

    AlarmStore();
    ~AlarmStore() override;
    AlarmStore(const AlarmStore&) = delete;
    AlarmStore& operator=(const AlarmStore&) = delete;

    // Opens folder/DataRecord.db. The file must be the station's (the record
    // database accepts it; a new file gets its table `data` first). Adds
    // table `alarm` when missing without touching `data`, and AckBy and
    // AckTime to an older one (read-only: they read as empty); fails when an
    // `alarm` table with other columns is there.
    bool Open(const QString& folder, Mode mode = Mode::CreateIfMissing);
    void Close();
    bool IsOpen() const { return open_; }

    // Stores the event, unacknowledged; sets event->id.
    bool Insert(AlarmEvent* event) { return Insert(event, 0); }
    // The same; an acknowledged event (one held while the disk was full) with
    // its acknowledgement, logged at ackTimeMs.
    bool Insert(AlarmEvent* event, int64_t ackTimeMs) override;
    // Newest first, at most limit events.
    bool LoadNewest(int limit, std::vector<AlarmEvent>* events);
    // Newest first: the newest `limit` events and every older ALARM, TRIP
    // or LOST event not yet acknowledged, which stays listed until it is.
    bool LoadForList(int limit, std::vector<AlarmEvent>* events);
    // Oldest first, all of them.
    bool LoadAll(std::vector<AlarmEvent>* events);
    // Oldest first, those from fromMs to toMs (since the epoch, both included).
    bool LoadBetween(int64_t fromMs, int64_t toMs, std::vector<AlarmEvent>* events);
    // Acknowledgements by `who` at timeMs (since the epoch) of the events not
    // acknowledged yet: one event; every ALARM, TRIP or LOST event of one
    // alarm (sensor, kind and quantity); all of them.
    bool Acknowledge(int64_t id, const QString& who, int64_t timeMs) override;
    bool AcknowledgeAlarm(int sensor, AlarmKind kind, const QString& who, int64_t timeMs,
                          AlarmQuantity quantity = AlarmQuantity::Velocity) override;
    bool AcknowledgeAll(const QString& who, int64_t timeMs) override;
    // ALARM, TRIP and LOST events not yet acknowledged; -1 when it cannot be read.
    int UnacknowledgedRaisedCount();
    // The alarms the events leave standing: an ALARM or TRIP after the last
    // CLEAR of its sensor and quantity, or a LOST after the last RESTORED, is
    // active (acknowledged once all its events are); an older unacknowledged
    // one has returned unacknowledged. Alarms in neither state are left out.
    struct StandingAlarm {
        int sensor = 0;
        AlarmKind kind = AlarmKind::Alarm;
        AlarmQuantity quantity = AlarmQuantity::Velocity;
        AlarmState state = AlarmState::Normal;
        bool operator==(const StandingAlarm&) const = default;
    };
    bool LoadStandingAlarms(std::vector<StandingAlarm>* alarms);

    // The reason of the last failure, for the user.
    const QString& LastError() const override { return lastError_; }

private:
    bool CheckTable(bool create);
    bool Load(const QString& sql, const QVariantList& binds, std::vector<AlarmEvent>* events);
    bool Fail(const QString& what, const QSqlError& error);
    bool AddAcknowledgementColumns(const QStringList& found, bool create);
    // Logs and marks the unacknowledged events that `where` (an SQL
    // condition with `binds` for its placeholders) picks.
    bool AcknowledgeWhere(const QString& where, const QVariantList& binds, const QString& who,
                          int64_t timeMs);

    QString path_;
    QString connectionName_;
    QSqlDatabase db_;
    bool open_ = false;
    bool tableExists_ = false;
    bool hasAckColumns_ = false;
    QString lastError_;
};

}  // namespace orsan
