#include "RecordPager.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <algorithm>
#include <limits>

#include "DatabaseDiagnostic.h"
#include "RecordColumns.h"
#include "RecordTally.h"
#include "SqliteStatement.h"

namespace orsan {

RecordPager::RecordPager(RecordDatabase& database, int pageSize)
    : database_(database), pageSize_(std::max(1, pageSize)) {}

RecordPager::~RecordPager() = default;

SqliteStatement& RecordPager::Prepared(std::unique_ptr<SqliteStatement>& slot,
                                       const QString& sql) {
    // A connection opened again (after a failed write) starts afresh.
    sqlite3* const connection = SqliteHandle(database_.Connection());
    if (connection != preparedOn_) {
        rowsBefore_.reset();
        keyAt_.reset();
        keyBefore_.reset();
        preparedOn_ = connection;
    }
    if (!slot || !slot->Reset())
        slot = std::make_unique<SqliteStatement>(database_.Connection(), sql);
    return *slot;
}

bool RecordPager::FailText(const QString& message) {
    DatabaseFailure failure;
    failure.message = message;
    failure.source = QStringLiteral("SQLite");
    lastDiagnostic_ = ComposeDiagnostic(kReloadDiagnosticPrefix, failure);
    ReportDiagnostic(lastDiagnostic_);
    return false;
}

bool RecordPager::Fail(const QSqlError& error) {
    lastDiagnostic_ = ComposeDiagnostic(kReloadDiagnosticPrefix, FailureFromSqlError(error));
    ReportDiagnostic(lastDiagnostic_);
    return false;
}

std::optional<qint64> RecordPager::CountRange(const RecordRange& range) {
    if (range.IsEmpty()) return 0;
    if (range.IsAll()) {
        const std::optional<qint64> count = database_.Count();
        if (!count) lastDiagnostic_ = database_.LastDiagnostic();
        return count;
    }
    // Every row of the range is before the first second after it.
    return RowsBefore(range, {FloorSeconds(range.toMs) + 1, std::numeric_limits<qint64>::min()});
}

std::optional<qint64> RecordPager::RowsBefore(const RecordRange& range, const RecordKey& key) {
    // The rows whose Time is from the range's first second up to the key's,
    // less those of the first and last seconds outside the range, plus those
    // of the key's own second written before it.
    SqliteStatement& query = Prepared(
        rowsBefore_,
        QStringLiteral("SELECT ") + RowsBetweenSecondsSql(database_.HasTallies()) +
            QStringLiteral(
                " - (SELECT count(*) FROM data WHERE Time = ?1 AND Time < ?2 AND "
                "Time*1000+msTime < ?9) - (SELECT count(*) FROM data WHERE Time = ?10 AND "
                "Time < ?2 AND Time*1000+msTime > ?11) + (SELECT count(*) FROM data WHERE "
                "Time = ?2 AND rowid < ?12 AND Time*1000+msTime BETWEEN ?9 AND ?11)"));
    const qint64 fromSecond = FloorSeconds(range.fromMs);
    const auto tally = TallyParameters(fromSecond, key.time);
    query.Bind({fromSecond, key.time, tally[0], tally[1], tally[2], tally[3], tally[4], tally[5],
                range.fromMs, FloorSeconds(range.toMs), range.toMs, key.rowid});
    if (!query.Next()) {
        FailText(query.Error().isEmpty()
                     ? QCoreApplication::translate("orsan::RecordDatabase", "计数无结果")
                     : query.Error());
        return std::nullopt;
    }
    const qint64 rows = query.Integer(0);
    query.Reset();
    return rows;
}

bool RecordPager::LoadRows(std::optional<RecordKey> key, bool inclusive, Order order, qint64 limit,
                           std::vector<StoredRecord>* rows, std::vector<RecordKey>* keys) {
    rows->clear();
    keys->clear();
    if (limit <= 0 || range_.IsEmpty()) return true;
    const bool ascending = order == Order::Ascending;
    // The key narrows the Time bounds themselves, so the index is entered
    // at the key's second: a row-value comparison beside a BETWEEN would
    // leave SQLite scanning from the range's start.
    qint64 lowSecond = FloorSeconds(range_.fromMs);
    qint64 highSecond = FloorSeconds(range_.toMs);
    QString sql = QStringLiteral("SELECT ") + database_.StoredRecordSelectList() +
                  QStringLiteral(",rowid FROM data WHERE ") + RangeCondition();
    if (key) {
        if (ascending)
            lowSecond = std::max(lowSecond, key->time);
        else
            highSecond = std::min(highSecond, key->time);
        const QString comparison = ascending ? (inclusive ? ">=" : ">") : (inclusive ? "<=" : "<");
        sql +=
            QStringLiteral(" AND (Time %1 ? OR rowid %2 ?)").arg(ascending ? ">" : "<", comparison);
    }
    sql += ascending ? QStringLiteral(" ORDER BY Time, rowid LIMIT ?")
                     : QStringLiteral(" ORDER BY Time DESC, rowid DESC LIMIT ?");
    QSqlQuery query(database_.Connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql)) return Fail(query.lastError());
    query.bindValue(0, lowSecond);
    query.bindValue(1, highSecond);
    query.bindValue(2, range_.fromMs);
    query.bindValue(3, range_.toMs);
    int next = 4;
    if (key) {
        query.bindValue(next++, key->time);
        query.bindValue(next++, key->rowid);
    }
    query.bindValue(next, limit);
    if (!query.exec()) return Fail(query.lastError());
    while (query.next()) {
        rows->push_back(ReadStoredRecord(query));
        keys->push_back({rows->back().time, query.value(kRecordTableColumnCount).toLongLong()});
    }
    if (query.lastError().isValid()) return Fail(query.lastError());
    if (!ascending) {
        std::reverse(rows->begin(), rows->end());
        std::reverse(keys->begin(), keys->end());
    }
    return true;
}

bool RecordPager::KeyBefore(const RecordKey& key, qint64 rowsBack, RecordKey* found) {
    // rowsBack is below a page: a short step back through the index.
    SqliteStatement& query = Prepared(
        keyBefore_,
        QStringLiteral("SELECT Time, rowid FROM data WHERE Time BETWEEN ?1 AND ?2 "
                       "AND Time*1000+msTime BETWEEN ?3 AND ?4 AND (Time < ?5 OR "
                       "rowid < ?6) ORDER BY Time DESC, rowid DESC LIMIT 1 "
                       "OFFSET ?7"));
    query.Bind({FloorSeconds(range_.fromMs), std::min(FloorSeconds(range_.toMs), key.time),
                range_.fromMs, range_.toMs, key.time, key.rowid, rowsBack - 1});
    if (!query.Next()) return query.Error().isEmpty() ? false : FailText(query.Error());
    *found = RecordKey{query.Integer(0), query.Integer(1)};
    query.Reset();
    return true;
}

bool RecordPager::LoadPageAt(qint64 startIndex, std::optional<RecordKey> key,
                             qint64 rowsBeforeKey) {
    RangePage page;
    page.count = page_.count;
    page.startIndex = startIndex;
    // The page's first row, found through keys alone; then one read of the page.
    RecordKey first{};
    if (key && rowsBeforeKey > 0) {
        if (!KeyBefore(*key, rowsBeforeKey, &first)) return false;
        key = first;
    }
    if (!LoadRows(key, true, Order::Ascending, pageSize_, &page.rows, &page.keys)) return false;
    page_ = std::move(page);
    return true;
}

bool RecordPager::SetRange(const RecordRange& range) {
    range_ = range;
    page_ = RangePage();
    const std::optional<qint64> count = CountRange(range);
    if (!count) return false;
    page_.count = *count;
    return First();
}

bool RecordPager::First() {
    return LoadPageAt(0, std::nullopt, 0);
}

bool RecordPager::Next() {
    if (page_.keys.empty() || page_.startIndex + pageSize_ >= page_.count) return true;
    std::vector<StoredRecord> rows;
    std::vector<RecordKey> keys;
    if (!LoadRows(page_.keys.back(), false, Order::Ascending, pageSize_, &rows, &keys))
        return false;
    if (rows.empty()) return true;  // rows went away meanwhile: stay
    page_.startIndex += pageSize_;
    page_.rows = std::move(rows);
    page_.keys = std::move(keys);
    return true;
}

bool RecordPager::Previous() {
    if (page_.keys.empty() || page_.startIndex == 0) return true;
    if (page_.startIndex < pageSize_) return First();
    std::vector<StoredRecord> rows;
    std::vector<RecordKey> keys;
    if (!LoadRows(page_.keys.front(), false, Order::Descending, pageSize_, &rows, &keys))
        return false;
    if (qint64(rows.size()) < pageSize_) return First();  // rows went away meanwhile
    page_.startIndex -= pageSize_;
    page_.rows = std::move(rows);
    page_.keys = std::move(keys);
    return true;
}

bool RecordPager::Last() {
    if (page_.count <= 0) return First();
    const qint64 startIndex = pageSize_ * ((page_.count - 1) / pageSize_);
    std::vector<StoredRecord> rows;
    std::vector<RecordKey> keys;
    if (!LoadRows(std::nullopt, false, Order::Descending, page_.count - startIndex, &rows, &keys))
        return false;
    page_.startIndex = startIndex;
    page_.rows = std::move(rows);
    page_.keys = std::move(keys);
    return true;
}

bool RecordPager::GoTo(qint64 ms) {
    if (ms <= range_.fromMs) return First();
    SqliteStatement& query =
        Prepared(keyAt_, QStringLiteral("SELECT Time, rowid FROM data WHERE Time BETWEEN ?1 AND ?2 "
                                        "AND Time*1000+msTime BETWEEN ?3 AND ?4 ORDER BY Time, "
                                        "rowid LIMIT 1"));
    query.Bind({FloorSeconds(ms), FloorSeconds(range_.toMs), ms, range_.toMs});
    if (!query.Next()) return query.Error().isEmpty() ? Last() : FailText(query.Error());
    const RecordKey key{query.Integer(0), query.Integer(1)};
    query.Reset();
    const std::optional<qint64> before = RowsBefore(range_, key);
    if (!before) return false;
    const qint64 startIndex = pageSize_ * (*before / pageSize_);
    return LoadPageAt(startIndex, key, *before - startIndex);
}

qint64 RecordPager::PageNumber() const {
    return page_.count <= 0 ? 0 : page_.startIndex / pageSize_ + 1;
}

qint64 RecordPager::PageCount() const {
    return (page_.count + pageSize_ - 1) / pageSize_;
}

}  // namespace orsan
