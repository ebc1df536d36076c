#pragma once

#include <QSqlDatabase>
#include <QString>
#include <vector>

#include "AlarmEvent.h"

class QSqlError;

namespace orsan {

// The events in table `alarm` of DataRecord.db (columns Time, msTime,
// Sensor, Axis, Value, Zone, Kind, Ack), on a connection of its own beside
// the record database's. UI thread only.
class AlarmStore {
public:
    enum class Mode {
        CreateIfMissing,  // the station: the file and the table are made as needed
        ExistingOnly,     // exports: read-only, the file must exist; a missing table reads as empty
    };

    AlarmStore();
    ~AlarmStore();
    AlarmStore(const AlarmStore&) = delete;
    AlarmStore& operator=(const AlarmStore&) = delete;

    // Opens folder/DataRecord.db. The file must be the station's (the record
    // database accepts it; a new file gets its table `data` first). Adds
    // table `alarm` when missing without touching `data`; fails when an
    // `alarm` table with other columns is there.
    bool Open(const QString& folder, Mode mode = Mode::CreateIfMissing);
    void Close();
    bool IsOpen() const { return open_; }

    // Stores the event, unacknowledged; sets event->id.
    bool Insert(AlarmEvent* event);
    // Newest first, at most limit events.
    bool LoadNewest(int limit, std::vector<AlarmEvent>* events);
    // Oldest first, all of them.
    bool LoadAll(std::vector<AlarmEvent>* events);
    bool Acknowledge(int64_t id);
    bool AcknowledgeAll();
    // ALARM, TRIP and LOST events not yet acknowledged; -1 when it cannot be read.
    int UnacknowledgedRaisedCount();

    // The reason of the last failure, for the user.
    const QString& LastError() const { return lastError_; }

private:
    bool CheckTable(bool create);
    bool Load(const QString& sql, int limit, std::vector<AlarmEvent>* events);
    bool Fail(const QString& what, const QSqlError& error);

    QString path_;
    QString connectionName_;
    QSqlDatabase db_;
    bool open_ = false;
    bool tableExists_ = false;
    QString lastError_;
};

}  // namespace orsan
