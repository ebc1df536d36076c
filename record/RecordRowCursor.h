#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "RecordDatabase.h"
#include "RecordRange.h"
#include "SqliteStatement.h"

namespace orsan {

// Walks the rows of a range in (Time, rowid) order, or the reverse, straight
// through SQLite's C interface on the database's own connection, and says
// per asked sensor whether the row holds a fresh reading.
//
// Freshness comes from the sensor's stale-row index where the file has one
// (RecordDatabase::HasStaleIndex): its few entries are walked beside the rows,
// so the row's Ok column, at the far end of a 68-column row, is never read.
// Otherwise the row's Ok column is read with it.
class RecordRowCursor {
public:
    enum class Order { Oldest, Newest };
    // Column of the first value named by the caller; value k is column
    // kFirstValue + k of Row().
    static constexpr int kFirstValue = 3;

    // valueColumns: table columns read after Time, msTime and rowid;
    // sensors (1..6): those whose freshness is asked, each once, at most
    // kRecordSlots. limit 0 for every row. failurePrefix: the reader's words
    // before SQLite's in Error().
    RecordRowCursor(RecordDatabase& database, const QStringList& valueColumns,
                    const std::vector<int>& sensors, const RecordRange& range, Order order,
                    int limit, const QString& failurePrefix);
    RecordRowCursor(const RecordRowCursor&) = delete;
    RecordRowCursor& operator=(const RecordRowCursor&) = delete;
    ~RecordRowCursor();

    // The next row inside the range; false at the end or on a failure.
    bool Next();
    // A failure to prepare or to read, in SQLite's words after the prefix;
    // empty when none.
    const QString& Error() const { return error_; }

    qint64 Time() const { return time_; }
    qint64 Milliseconds() const { return milliseconds_; }
    qint64 TimeMs() const { return RowTimeMs(time_, milliseconds_); }
    sqlite3_stmt* Row() const { return rows_->Handle(); }
    // Bit s: sensor sensors[s] has a fresh reading in the current row.
    unsigned FreshSensors() const { return fresh_; }

private:
    struct StaleWalk;

    bool Failed(const SqliteStatement& statement);
    unsigned FreshnessOfRow(qint64 rowid);

    QString failurePrefix_;
    QString error_;
    std::optional<SqliteStatement> snapshot_;
    std::optional<SqliteStatement> rows_;  // made once the stale walks are known
    std::vector<std::unique_ptr<StaleWalk>> staleWalks_;
    std::vector<int> staleSensors_;  // per walk, its place among the sensors
    RecordRange range_;
    bool newestFirst_ = false;
    int limit_ = 0;
    int delivered_ = 0;
    unsigned alwaysFresh_ = 0;  // sensors whose table has no Ok column
    int firstOkColumn_ = 0;     // the Ok columns read with the row, if any
    std::vector<int> okColumnSensors_;
    qint64 time_ = 0;
    qint64 milliseconds_ = 0;
    unsigned fresh_ = 0;
};

}  // namespace orsan
