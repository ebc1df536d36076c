#include "RecordPager.h"

#include <QSqlQuery>
#include <algorithm>

#include "DatabaseDiagnostic.h"
#include "RecordColumns.h"
#include "SqliteStatement.h"

namespace orsan {

RecordPager::RecordPager(RecordDatabase& database, int pageSize)
    : database_(database), pageSize_(std::max(1, pageSize)) {}

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
    QSqlQuery query(database_.Connection());
    query.setForwardOnly(true);
    // Whole seconds inside the range come from the index alone; only rows
    // of the first and last second need their msTime.
    if (!query.prepare(QStringLiteral(
            "SELECT (SELECT COUNT(*) FROM data WHERE Time > ? AND Time < ?) + "
            "(SELECT COUNT(*) FROM data WHERE Time IN (?, ?) AND Time*1000+msTime BETWEEN ? AND "
            "?)"))) {
        Fail(query.lastError());
        return std::nullopt;
    }
    const qint64 fromSecond = FloorSeconds(range.fromMs);
    const qint64 toSecond = FloorSeconds(range.toMs);
    query.bindValue(0, fromSecond);
    query.bindValue(1, toSecond);
    query.bindValue(2, fromSecond);
    query.bindValue(3, toSecond);
    query.bindValue(4, range.fromMs);
    query.bindValue(5, range.toMs);
    if (!query.exec() || !query.next()) {
        Fail(query.lastError());
        return std::nullopt;
    }
    return query.value(0).toLongLong();
}

bool RecordPager::BuildBuckets() {
    buckets_.clear();
    // One pass over the Time index alone, counted here: a GROUP BY would
    // sort a million entries first.
    const qint64 fromSecond = FloorSeconds(range_.fromMs);
    SqliteStatement query(database_.Connection(),
                          QStringLiteral("SELECT Time FROM data WHERE Time BETWEEN ?1 AND ?2 "
                                         "ORDER BY Time"));
    query.Bind({fromSecond, FloorSeconds(range_.toMs)});
    qint64 rows = 0;
    while (query.Next()) {
        const qint64 bucket = (query.Integer(0) - fromSecond) / kBucketSeconds;
        if (buckets_.empty() || buckets_.back().index != bucket) buckets_.push_back({bucket, rows});
        ++rows;
    }
    if (!query.Error().isEmpty()) return FailText(query.Error());
    bucketRows_ = rows;
    bucketsReady_ = true;
    return true;
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
    SqliteStatement query(
        database_.Connection(),
        QStringLiteral("SELECT Time, rowid FROM data WHERE Time BETWEEN ?1 AND ?2 "
                       "AND Time*1000+msTime BETWEEN ?3 AND ?4 AND (Time < ?5 OR "
                       "rowid < ?6) ORDER BY Time DESC, rowid DESC LIMIT 1 "
                       "OFFSET ?7"));
    query.Bind({FloorSeconds(range_.fromMs), std::min(FloorSeconds(range_.toMs), key.time),
                range_.fromMs, range_.toMs, key.time, key.rowid, rowsBack - 1});
    if (!query.Next()) return query.Error().isEmpty() ? false : FailText(query.Error());
    *found = RecordKey{query.Integer(0), query.Integer(1)};
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
    bucketsReady_ = false;
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
    if (!bucketsReady_ && !BuildBuckets()) return false;
    // One statement finds the first row at or after ms and counts the rows
    // before it: the whole seconds from the start of its ten minutes (the
    // buckets give the earlier ones), less the rows of the range's first
    // second before the range starts, plus its own second up to it.
    const qint64 from = std::max(ms, range_.fromMs);
    const qint64 fromSecond = FloorSeconds(range_.fromMs);
    SqliteStatement query(
        database_.Connection(),
        QStringLiteral(
            "WITH k(t, r) AS (SELECT Time, rowid FROM data WHERE Time BETWEEN ?1 AND ?2 AND "
            "Time*1000+msTime BETWEEN ?3 AND ?4 ORDER BY Time, rowid LIMIT 1) "
            "SELECT t, r, (SELECT COUNT(*) FROM data WHERE Time >= ?5 + ((t - ?5) / ?6) * ?6 AND "
            "Time < t) - (SELECT COUNT(*) FROM data WHERE Time = ?5 AND Time < t AND "
            "Time*1000+msTime < ?7) + (SELECT COUNT(*) FROM data WHERE Time = t AND rowid < r AND "
            "Time*1000+msTime BETWEEN ?7 AND ?4) FROM k"));
    query.Bind({FloorSeconds(from), FloorSeconds(range_.toMs), from, range_.toMs, fromSecond,
                kBucketSeconds, range_.fromMs});
    if (!query.Next()) return query.Error().isEmpty() ? Last() : FailText(query.Error());
    const RecordKey key{query.Integer(0), query.Integer(1)};
    const qint64 bucket = (key.time - fromSecond) / kBucketSeconds;
    const auto found =
        std::lower_bound(buckets_.begin(), buckets_.end(), bucket,
                         [](const Bucket& b, qint64 index) { return b.index < index; });
    const qint64 before =
        (found == buckets_.end() ? bucketRows_ : found->rowsBefore) + query.Integer(2);
    const qint64 startIndex = pageSize_ * (before / pageSize_);
    return LoadPageAt(startIndex, key, before - startIndex);
}

qint64 RecordPager::PageNumber() const {
    return page_.count <= 0 ? 0 : page_.startIndex / pageSize_ + 1;
}

qint64 RecordPager::PageCount() const {
    return (page_.count + pageSize_ - 1) / pageSize_;
}

}  // namespace orsan
