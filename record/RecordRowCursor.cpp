#include "RecordRowCursor.h"

#include <sqlite3.h>

#include <utility>

#include "RecordColumns.h"

namespace orsan {

namespace {

QString OrderBy(RecordRowCursor::Order order) {
    return order == RecordRowCursor::Order::Oldest
               ? QStringLiteral(" ORDER BY Time, rowid")
               : QStringLiteral(" ORDER BY Time DESC, rowid DESC");
}

// Only the seconds bound the rows in SQL, so SQLite tests nothing per row
// beyond the index; Next() leaves out the rows of the two edge seconds that
// fall outside the range.
QString RangeSql(RecordRowCursor::Order order) {
    return QStringLiteral(" FROM data WHERE Time BETWEEN ?1 AND ?2") + OrderBy(order);
}

}  // namespace

// One sensor's stale rows of the range, in the order of the rows, from its
// partial index: (Time, rowid) of the next one not yet passed.
struct RecordRowCursor::StaleWalk {
    StaleWalk(const QSqlDatabase& connection, int sensor, Order order)
        : statement(connection, QStringLiteral("SELECT Time,rowid FROM data INDEXED BY %1 WHERE %2")
                                        .arg(StaleIndexName(sensor), StaleRowCondition(sensor)) +
                                    QStringLiteral(" AND Time BETWEEN ?1 AND ?2") +
                                    OrderBy(order)) {}

    bool Step() {
        more = statement.Next();
        if (more) key = {statement.Integer(0), statement.Integer(1)};
        return statement.Error().isEmpty();
    }

    SqliteStatement statement;
    bool more = false;
    std::pair<qint64, qint64> key;  // Time, rowid
};

RecordRowCursor::RecordRowCursor(RecordDatabase& database, const QStringList& valueColumns,
                                 const std::vector<int>& sensors, const RecordRange& range,
                                 Order order, int limit, const QString& failurePrefix)
    : failurePrefix_(failurePrefix),
      range_(range),
      newestFirst_(order == Order::Newest),
      limit_(limit),
      firstOkColumn_(kFirstValue + int(valueColumns.size())) {
    const qint64 from = FloorSeconds(range.fromMs);
    const qint64 to = FloorSeconds(range.toMs);
    QString okColumns;
    // The walks and the rows must see one state of the file, though a walk
    // that ends early is finalized: a statement left open holds the read.
    snapshot_.emplace(database.Connection(), QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (!snapshot_->Next()) {
        Failed(*snapshot_);
        return;
    }
    for (size_t s = 0; s < sensors.size(); ++s) {
        const int sensor = sensors[s];
        if (!database.HasFreshnessColumn(sensor)) {
            alwaysFresh_ |= 1u << s;
        } else if (!database.HasStaleIndex(sensor)) {
            okColumns += QLatin1Char(',') + database.FreshnessSql(sensor);
            okColumnSensors_.push_back(int(s));
        } else {
            auto walk = std::make_unique<StaleWalk>(database.Connection(), sensor, order);
            walk->statement.Bind({from, to});
            if (!walk->Step()) {
                Failed(walk->statement);
                return;
            }
            if (!walk->more) {
                alwaysFresh_ |= 1u << s;  // no stale row in the range
                continue;
            }
            staleWalks_.push_back(std::move(walk));
            staleSensors_.push_back(int(s));
        }
    }
    // The rowid is needed only to tell stale rows of one second apart.
    QString sql = QStringLiteral("SELECT Time,msTime,") +
                  (staleWalks_.empty() ? QStringLiteral("0") : QStringLiteral("rowid"));
    for (const QString& column : valueColumns) sql += QLatin1Char(',') + column;
    rows_.emplace(database.Connection(), sql + okColumns + RangeSql(order));
    if (Failed(*rows_)) return;
    rows_->Bind({from, to});
}

RecordRowCursor::~RecordRowCursor() = default;

bool RecordRowCursor::Failed(const SqliteStatement& statement) {
    if (statement.Error().isEmpty()) return false;
    if (error_.isEmpty()) error_ = failurePrefix_ + statement.Error();
    return true;
}

bool RecordRowCursor::Next() {
    if (!error_.isEmpty() || !rows_ || (limit_ > 0 && delivered_ >= limit_)) return false;
    while (rows_->Next()) {
        sqlite3_stmt* const row = rows_->Handle();
        time_ = sqlite3_column_int64(row, 0);
        milliseconds_ = sqlite3_column_int64(row, 1);
        if (!range_.Contains(TimeMs())) continue;
        fresh_ = FreshnessOfRow(sqlite3_column_int64(row, 2));
        if (!error_.isEmpty()) return false;
        ++delivered_;
        return true;
    }
    Failed(*rows_);
    return false;
}

unsigned RecordRowCursor::FreshnessOfRow(qint64 rowid) {
    unsigned fresh = alwaysFresh_;
    sqlite3_stmt* const row = rows_->Handle();
    for (size_t j = 0; j < okColumnSensors_.size(); ++j)
        if (sqlite3_column_int(row, firstOkColumn_ + int(j)) != 0)
            fresh |= 1u << okColumnSensors_[j];
    const std::pair<qint64, qint64> key{time_, rowid};
    for (size_t w = 0; w < staleWalks_.size(); ++w) {
        StaleWalk& walk = *staleWalks_[w];
        // Both walks go the same way through (Time, rowid): pass the stale
        // rows before this one.
        while (walk.more && (newestFirst_ ? walk.key > key : walk.key < key))
            if (!walk.Step()) Failed(walk.statement);
        if (!(walk.more && walk.key == key)) fresh |= 1u << staleSensors_[w];
    }
    return fresh;
}

}  // namespace orsan
