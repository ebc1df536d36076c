#include "RecordPager.h"

#include <QSqlQuery>
#include <algorithm>

#include "DatabaseDiagnostic.h"
#include "RecordColumns.h"

namespace orsan {

namespace {

constexpr int kValueColumns = kRecordSlots * kRecordValuesPerSlot;

}  // namespace

RecordPager::RecordPager(RecordDatabase& database, int pageSize)
    : database_(database), pageSize_(std::max(1, pageSize)) {}

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

std::optional<qint64> RecordPager::CountBefore(const RecordKey& key) {
    // Whole seconds before the key's second, then its second up to the key.
    const qint64 secondStart = key.time * 1000;
    const std::optional<qint64> earlier =
        CountRange(RecordRange::Between(range_.fromMs, std::min(range_.toMs, secondStart - 1)));
    if (!earlier) return std::nullopt;
    QSqlQuery query(database_.Connection());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT COUNT(*) FROM data WHERE Time = ? AND rowid < ? "
                                      "AND Time*1000+msTime BETWEEN ? AND ?"))) {
        Fail(query.lastError());
        return std::nullopt;
    }
    query.bindValue(0, key.time);
    query.bindValue(1, key.rowid);
    query.bindValue(2, range_.fromMs);
    query.bindValue(3, range_.toMs);
    if (!query.exec() || !query.next()) {
        Fail(query.lastError());
        return std::nullopt;
    }
    return *earlier + query.value(0).toLongLong();
}

bool RecordPager::LoadRows(std::optional<RecordKey> key, bool inclusive, Order order, qint64 limit,
                           std::vector<StoredRecord>* rows, std::vector<RecordKey>* keys) {
    rows->clear();
    keys->clear();
    if (limit <= 0 || range_.IsEmpty()) return true;
    const bool ascending = order == Order::Ascending;
    QString sql = QStringLiteral("SELECT ") + RecordColumnList() +
                  QStringLiteral(",rowid FROM data WHERE ") + RangeCondition();
    if (key) {
        const QString comparison = ascending ? (inclusive ? ">=" : ">") : (inclusive ? "<=" : "<");
        sql += QStringLiteral(" AND (Time, rowid) %1 (?, ?)").arg(comparison);
    }
    sql += ascending ? QStringLiteral(" ORDER BY Time, rowid LIMIT ?")
                     : QStringLiteral(" ORDER BY Time DESC, rowid DESC LIMIT ?");
    QSqlQuery query(database_.Connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql)) return Fail(query.lastError());
    BindRange(query, range_);
    int next = 4;
    if (key) {
        query.bindValue(next++, key->time);
        query.bindValue(next++, key->rowid);
    }
    query.bindValue(next, limit);
    if (!query.exec()) return Fail(query.lastError());
    while (query.next()) {
        StoredRecord record;
        record.time = query.value(0).toLongLong();
        record.milliseconds = query.value(1).toInt();
        for (int v = 0; v < kValueColumns; ++v) record.values[v] = query.value(2 + v).toFloat();
        rows->push_back(record);
        keys->push_back({record.time, query.value(2 + kValueColumns).toLongLong()});
    }
    if (query.lastError().isValid()) return Fail(query.lastError());
    if (!ascending) {
        std::reverse(rows->begin(), rows->end());
        std::reverse(keys->begin(), keys->end());
    }
    return true;
}

bool RecordPager::LoadPageAt(qint64 startIndex, std::optional<RecordKey> key,
                             qint64 rowsBeforeKey) {
    RangePage page;
    page.count = page_.count;
    page.startIndex = startIndex;
    std::vector<StoredRecord> before;
    std::vector<RecordKey> beforeKeys;
    if (key && !LoadRows(key, false, Order::Descending, rowsBeforeKey, &before, &beforeKeys))
        return false;
    if (!LoadRows(key, true, Order::Ascending, pageSize_ - qint64(before.size()), &page.rows,
                  &page.keys))
        return false;
    page.rows.insert(page.rows.begin(), before.begin(), before.end());
    page.keys.insert(page.keys.begin(), beforeKeys.begin(), beforeKeys.end());
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
    QSqlQuery query(database_.Connection());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT Time, rowid FROM data WHERE ") + RangeCondition() +
                       QStringLiteral(" ORDER BY Time, rowid LIMIT 1")))
        return Fail(query.lastError());
    BindRange(query, RecordRange::Between(std::max(ms, range_.fromMs), range_.toMs));
    if (!query.exec()) return Fail(query.lastError());
    if (!query.next()) return query.lastError().isValid() ? Fail(query.lastError()) : Last();
    const RecordKey key{query.value(0).toLongLong(), query.value(1).toLongLong()};
    query.finish();
    const std::optional<qint64> before = CountBefore(key);
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
