#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "LocalRecord.h"

namespace orsan::store {

// Where the forwarder stands in the local table `data`: the rowid of the
// last row the server confirmed, with that row's instant, so a table that
// was emptied and refilled (rowids start again) is noticed.
struct ForwardPosition {
    int64_t rowId = 0;
    int64_t time = 0;
    int milliseconds = 0;
};

// The forwarder's own connection to DataRecord.db (SQLite C API, one thread).
// It never creates the file or the table `data`: until the station made
// them there is simply nothing to forward. Its position lives in its own
// table `store_position`, one row per server, so it survives restarts.
class LocalRecordSource {
public:
    explicit LocalRecordSource(std::string databasePath);
    ~LocalRecordSource();
    LocalRecordSource(const LocalRecordSource&) = delete;
    LocalRecordSource& operator=(const LocalRecordSource&) = delete;

    // Opens the file when it exists and holds `data`; false with Error()
    // set on failure, false with an empty Error() when there is nothing yet.
    bool Open();
    bool IsOpen() const { return db_ != nullptr; }
    void Close();
    const std::string& Error() const { return error_; }

    // The confirmed position for `target`; a position whose row no longer
    // carries the same instant (table cleared or rows deleted) falls back
    // to the start: the server ignores rows it already holds.
    std::optional<ForwardPosition> LoadPosition(const std::string& target,
                                                const char* table = "data");
    bool SavePosition(const std::string& target, const ForwardPosition& position);

    // Up to `limit` rows after `position`, in rowid order, each with which
    // sensors' readings are fresh and which sensors it was recorded for
    // (table data_sensors; unknown for rows before its first entry). A
    // position that no longer matches its row is first set back to the start.
    bool ReadAfter(ForwardPosition& position, int limit, std::vector<LocalRecord>* records);
    // Rows after `position`, from the newest rowid: never a walk over the
    // rest of the table (rows deleted in between still count).
    std::optional<int64_t> CountAfter(const ForwardPosition& position);

    // The station's alarm events (table `alarm`: Time, msTime, Sensor, Axis,
    // Value, Zone, Kind, Ack, and AckBy and AckTime but in older tables),
    // when it keeps them.
    bool HasAlarmTable();
    // COPY text rows of alarm_events for up to `limit` events after
    // `position`, which moves to the last one; *count events were read.
    bool ReadAlarmsAfter(ForwardPosition& position, int limit, const std::string& station,
                         std::string* copyText, int* count);
    // The log of acknowledgements (table `alarm_ack`), when there is one.
    bool HasAcknowledgementLog();
    // COPY text rows (station, time, sensor, axis, kind, ack_by, ack_time:
    // the event's key, then who and when) for up to `limit` acknowledgements
    // after `position`, which moves to the last one.
    bool ReadAcknowledgementsAfter(ForwardPosition& position, int limit,
                                   const std::string& station, std::string* copyText, int* count);

private:
    struct StatementDeleter {
        void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
    };
    using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

    Statement Prepare(const std::string& sql);
    bool Fail(const char* what);  // what: a text marked for translation
    bool StillMatches(const char* table, const ForwardPosition& position);
    // How many of Ok1 ... Ok6 the table `data` has (in order).
    int FreshnessColumns();
    bool PrepareRead();
    bool HasTable(const char* name);
    // Whether table `alarm` has AckBy and AckTime yet.
    bool AlarmHasAckColumns();
    // Sets recordedFor of each record from the table data_sensors.
    bool ApplySensorHistory(std::vector<LocalRecord>& records);

    std::string path_;
    sqlite3* db_ = nullptr;
    std::string error_;
    Statement read_;
    Statement count_;
    Statement alarms_;
    bool alarmsWithAck_ = false;
    Statement acks_;
    Statement history_;
    int freshnessColumns_ = 0;
};

}  // namespace orsan::store
