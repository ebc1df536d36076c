#include "RecordSummaries.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <memory>

#include "RecordColumns.h"
#include "RecordTally.h"
#include "SensorRangeReader.h"
#include "SqliteStatement.h"

namespace orsan {

namespace {

constexpr SummaryGrain kGrains[] = {SummaryGrain::Hour, SummaryGrain::Day};
// The rowid up to which the rows are in the summaries.
const QString kMarkTable = QStringLiteral("data_summarised");

// A span's sums merged into the one a table holds.
QString MergeSql() {
    QStringList updates{QStringLiteral("n = n + excluded.n")};
    for (int v = 0; v < kRecordValuesPerSlot; ++v) {
        const QString name = RecordColumnName(2 + v).chopped(1);
        updates << QStringLiteral("%1_min = min(%1_min, excluded.%1_min)").arg(name)
                << QStringLiteral("%1_sum = %1_sum + excluded.%1_sum").arg(name)
                << QStringLiteral("%1_max = max(%1_max, excluded.%1_max)").arg(name);
    }
    return QStringLiteral(" ON CONFLICT(sensor, start) DO UPDATE SET ") +
           updates.join(QStringLiteral(", "));
}

// "Temp", "Xacc", ... : a slot's column names without the slot number.
QString QuantityName(int tableIndex) {
    return RecordColumnName(2 + tableIndex).chopped(1);
}

QString CreateTableSql(SummaryGrain grain) {
    QStringList columns{QStringLiteral("sensor INTEGER NOT NULL"),
                        QStringLiteral("start INTEGER NOT NULL"),
                        QStringLiteral("n INTEGER NOT NULL")};
    for (int v = 0; v < kRecordValuesPerSlot; ++v)
        for (const char* part : {"_min", "_sum", "_max"})
            columns << QuantityName(v) + QLatin1String(part) + QStringLiteral(" REAL");
    return QStringLiteral("CREATE TABLE %1 (%2, PRIMARY KEY (sensor, start)) WITHOUT ROWID")
        .arg(SummaryTableName(grain), columns.join(QStringLiteral(", ")));
}

struct Accumulator {
    qint64 n = 0;
    std::array<double, kRecordValuesPerSlot> low{};
    std::array<double, kRecordValuesPerSlot> sum{};
    std::array<double, kRecordValuesPerSlot> high{};

    void Add(const std::array<double, kRecordValuesPerSlot>& values) {
        if (n++ == 0) {
            low = high = values;
            sum.fill(0);
        }
        for (int v = 0; v < kRecordValuesPerSlot; ++v) {
            low[v] = std::min(low[v], values[v]);
            sum[v] += values[v];
            high[v] = std::max(high[v], values[v]);
        }
    }
};

using Spans = std::map<std::pair<int, qint64>, Accumulator>;  // (sensor, start)

struct StatementDeleter {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

QSqlError SqliteError(sqlite3* handle) {
    return QSqlError(QString(), QString::fromUtf8(sqlite3_errmsg(handle)),
                     QSqlError::StatementError);
}

// The first second of the local day holding a second: a plant's day is
// its own midnight to midnight. The day met last is kept, as rows come in
// time order.
class LocalDays {
public:
    qint64 StartOf(qint64 second) {
        if (second < start_ || second >= end_) {
            const QDate day = QDateTime::fromSecsSinceEpoch(second).date();
            start_ = day.startOfDay().toSecsSinceEpoch();
            end_ = day.addDays(1).startOfDay().toSecsSinceEpoch();
        }
        return start_;
    }

private:
    qint64 start_ = 1;
    qint64 end_ = 0;
};

// The rows above rowid `upto` in one pass, their spans kept in memory (a
// year at 0.3 s is 52,560 hours); *last is the highest rowid met.
bool SumRowsAbove(const QSqlDatabase& db, qint64 upto, std::array<Spans, 2>* spans, qint64* last,
                  QSqlError* error) {
    QString sql = QStringLiteral("SELECT rowid, Time");
    for (int slot = 1; slot <= kRecordSlots; ++slot) sql += QStringLiteral(",Ok%1").arg(slot);
    sql += QLatin1Char(',') + RecordColumnList().section(QLatin1Char(','), 2);
    SqliteStatement rows(db, sql + QStringLiteral(" FROM data WHERE rowid > ?1 ORDER BY rowid"));
    rows.Bind({upto});
    sqlite3_stmt* const row = rows.Handle();
    constexpr int kFirstValue = 2 + kRecordSlots;
    LocalDays days;
    std::array<double, kRecordValuesPerSlot> values{};
    *last = upto;
    while (rows.Next()) {
        *last = sqlite3_column_int64(row, 0);
        if (sqlite3_column_type(row, 1) == SQLITE_NULL) continue;
        const qint64 time = sqlite3_column_int64(row, 1);
        for (int slot = 1; slot <= kRecordSlots; ++slot) {
            if (sqlite3_column_type(row, 1 + slot) != SQLITE_NULL &&
                sqlite3_column_int(row, 1 + slot) == 0)
                continue;
            const int first = kFirstValue + (slot - 1) * kRecordValuesPerSlot;
            bool complete = true;
            for (int v = 0; v < kRecordValuesPerSlot && complete; ++v) {
                complete = sqlite3_column_type(row, first + v) != SQLITE_NULL;
                values[v] = sqlite3_column_double(row, first + v);
            }
            if (!complete) continue;
            (*spans)[0][{slot, TallySpanStart(time, SummarySpanSeconds(SummaryGrain::Hour))}].Add(
                values);
            (*spans)[1][{slot, days.StartOf(time)}].Add(values);
        }
    }
    if (rows.Error().isEmpty()) return true;
    if (error != nullptr) *error = QSqlError(QString(), rows.Error(), QSqlError::StatementError);
    return false;
}

bool WriteSpans(const QSqlDatabase& db, SummaryGrain grain, const Spans& spans, QSqlError* error) {
    sqlite3* const handle = SqliteHandle(db);
    const QByteArray sql = (QStringLiteral("INSERT INTO %1 VALUES (%2?)")
                                .arg(SummaryTableName(grain),
                                     QStringLiteral("?,").repeated(2 + 3 * kRecordValuesPerSlot)) +
                            MergeSql())
                               .toUtf8();
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &raw, nullptr) != SQLITE_OK) {
        if (error != nullptr) *error = SqliteError(handle);
        return false;
    }
    const Statement insert(raw);
    for (const auto& [key, sums] : spans) {
        sqlite3_bind_int(raw, 1, key.first);
        sqlite3_bind_int64(raw, 2, key.second);
        sqlite3_bind_int64(raw, 3, sums.n);
        for (int v = 0; v < kRecordValuesPerSlot; ++v) {
            sqlite3_bind_double(raw, 4 + 3 * v, sums.low[v]);
            sqlite3_bind_double(raw, 5 + 3 * v, sums.sum[v]);
            sqlite3_bind_double(raw, 6 + 3 * v, sums.high[v]);
        }
        if (sqlite3_step(raw) != SQLITE_DONE) {
            if (error != nullptr) *error = SqliteError(handle);
            return false;
        }
        sqlite3_reset(raw);
    }
    return true;
}

bool Exec(QSqlDatabase& db, const QString& sql, QSqlError* error) {
    QSqlQuery query(db);
    if (query.exec(sql)) return true;
    if (error != nullptr) *error = query.lastError();
    return false;
}

bool ExecAll(QSqlDatabase& db, const QStringList& statements, QSqlError* error) {
    for (const QString& sql : statements)
        if (!Exec(db, sql, error)) return false;
    return true;
}

bool CatchUp(QSqlDatabase& db, QSqlError* error) {
    qint64 upto = 0;
    {
        SqliteStatement mark(db, QStringLiteral("SELECT upto FROM ") + kMarkTable);
        if (!mark.Next()) {
            if (error != nullptr)
                *error = QSqlError(QString(), mark.Error().isEmpty() ? kMarkTable : mark.Error(),
                                   QSqlError::StatementError);
            return false;
        }
        upto = mark.Integer(0);
    }
    std::array<Spans, 2> spans;
    qint64 last = upto;
    if (!SumRowsAbove(db, upto, &spans, &last, error)) return false;
    if (last == upto) return true;
    return WriteSpans(db, kGrains[0], spans[0], error) &&
           WriteSpans(db, kGrains[1], spans[1], error) &&
           Exec(db, QStringLiteral("UPDATE %1 SET upto = %2").arg(kMarkTable).arg(last), error);
}

bool MakeSummaries(QSqlDatabase& db, QSqlError* error) {
    QStringList statements;
    for (const SummaryGrain grain : kGrains)
        statements << QStringLiteral("DROP TABLE IF EXISTS ") + SummaryTableName(grain)
                   << CreateTableSql(grain);
    statements << QStringLiteral("DROP TABLE IF EXISTS ") + kMarkTable
               << QStringLiteral("CREATE TABLE %1 (upto INTEGER NOT NULL)").arg(kMarkTable)
               << QStringLiteral("INSERT INTO %1 VALUES (0)").arg(kMarkTable);
    return ExecAll(db, statements, error);
}

// Runs `work` inside a savepoint: all or nothing, inside a caller's
// transaction as well as on its own.
bool InSavepoint(QSqlDatabase& db, const std::function<bool(QSqlError*)>& work, QSqlError* error) {
    if (!Exec(db, QStringLiteral("SAVEPOINT record_summaries"), error)) return false;
    if (work(error) && Exec(db, QStringLiteral("RELEASE record_summaries"), error)) return true;
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK TO record_summaries"));
    QSqlQuery(db).exec(QStringLiteral("RELEASE record_summaries"));
    return false;
}

}  // namespace

QString SummaryTableName(SummaryGrain grain) {
    return grain == SummaryGrain::Hour ? QStringLiteral("data_hourly")
                                       : QStringLiteral("data_daily");
}

bool HasRecordSummaries(const QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN "
                                   "('%1','%2','%3')")
                        .arg(SummaryTableName(SummaryGrain::Hour),
                             SummaryTableName(SummaryGrain::Day), kMarkTable)) ||
        !query.next())
        return false;
    return query.value(0).toInt() == 3;
}

bool EnsureRecordSummaries(QSqlDatabase& db, QSqlError* error) {
    const bool made = HasRecordSummaries(db);
    return InSavepoint(
        db, [&](QSqlError* e) { return (made || MakeSummaries(db, e)) && CatchUp(db, e); }, error);
}

bool CatchUpRecordSummaries(QSqlDatabase& db, QSqlError* error) {
    return InSavepoint(
        db, [&](QSqlError* e) { return CatchUp(db, e); }, error);
}

bool ClearSummarisedRows(QSqlDatabase& db, const std::function<bool(QSqlError*)>& deleteRows,
                         QSqlError* error) {
    QStringList after;
    for (const SummaryGrain grain : kGrains)
        after << QStringLiteral("DELETE FROM ") + SummaryTableName(grain);
    after << QStringLiteral("UPDATE %1 SET upto = 0").arg(kMarkTable);
    return deleteRows(error) && ExecAll(db, after, error);
}

bool LowerRecordSummaryMark(QSqlDatabase& db, QSqlError* error) {
    return Exec(db,
                QStringLiteral("UPDATE %1 SET upto = min(upto, ifnull((SELECT max(rowid) FROM "
                               "data), 0))")
                    .arg(kMarkTable),
                error);
}

bool ReadSummaryBins(const QSqlDatabase& db, SummaryGrain grain, qint64 fromSecond, qint64 toSecond,
                     const std::vector<SummaryCurve>& curves, const SummaryBinSink& sink,
                     QString* error) {
    for (const SummaryCurve& curve : curves) {
        if (curve.sensor >= 1 && curve.sensor <= kRecordSlots && curve.quantity >= 0 &&
            curve.quantity < kRecordValuesPerSlot)
            continue;
        if (error != nullptr)
            *error = QCoreApplication::translate("RecordSummaries", "没有传感器%1的第%2项数据")
                         .arg(curve.sensor)
                         .arg(curve.quantity + 1);
        return false;
    }
    // Made once: a chart reads its bands at every change of range.
    static const std::array<QString, kRecordValuesPerSlot> columns = [] {
        std::array<QString, kRecordValuesPerSlot> made;
        for (int v = 0; v < kRecordValuesPerSlot; ++v)
            made[size_t(v)] = QStringLiteral(", %1_min, %1_sum, %1_max").arg(QuantityName(v));
        return made;
    }();
    const qint64 width = SummarySpanSeconds(grain);
    // One statement per sensor asked for, reading only its curves' columns.
    std::vector<size_t> asked;
    for (int sensor = 1; sensor <= kRecordSlots; ++sensor) {
        asked.clear();
        QString sql = QStringLiteral("SELECT start, n");
        for (size_t c = 0; c < curves.size(); ++c) {
            if (curves[c].sensor != sensor) continue;
            sql += columns[size_t(SlotValueIndexOfCurve(curves[c].quantity))];
            asked.push_back(c);
        }
        if (asked.empty()) continue;
        SqliteStatement rows(db, sql + QLatin1String(" FROM ") + SummaryTableName(grain) +
                                     QLatin1String(" WHERE sensor = ?1 AND start > ?2 AND "
                                                   "start <= ?3 ORDER BY start"));
        rows.Bind({sensor, fromSecond - width, toSecond});
        sqlite3_stmt* const row = rows.Handle();
        SummaryBin bin;
        while (rows.Next()) {
            bin.start = sqlite3_column_int64(row, 0);
            bin.readings = sqlite3_column_int64(row, 1);
            for (size_t a = 0; a < asked.size(); ++a) {
                const int column = 2 + 3 * int(a);
                bin.low = sqlite3_column_double(row, column);
                bin.mean = sqlite3_column_double(row, column + 1) / double(bin.readings);
                bin.high = sqlite3_column_double(row, column + 2);
                sink(asked[a], bin);
            }
        }
        if (!rows.Error().isEmpty()) {
            if (error != nullptr)
                *error = QCoreApplication::translate("RecordSummaries", "读取汇总数据失败：") +
                         rows.Error();
            return false;
        }
    }
    return true;
}

}  // namespace orsan
