#include "RecordTally.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>

namespace orsan {

namespace {

const QString kRowsTable = QStringLiteral("data_rows");
const QString kSlotTable = QStringLiteral("data_rows_10min");
const QString kDayTable = QStringLiteral("data_rows_day");
const QString kInsertTrigger = QStringLiteral("data_rows_insert");
const QString kDeleteTrigger = QStringLiteral("data_rows_delete");

QString SpanStartSql(const QString& time, qint64 width) {
    return QStringLiteral("%1 - ((%1 %% %2) + %2) %% %2").arg(time).arg(width).replace(
        QStringLiteral("%%"), QStringLiteral("%"));
}

QString CreateInsertTriggerSql() {
    QString sql = QStringLiteral("CREATE TRIGGER %1 AFTER INSERT ON data BEGIN "
                                 "UPDATE %2 SET n = n + 1;")
                      .arg(kInsertTrigger, kRowsTable);
    for (const auto& [table, width] : {std::pair{kSlotTable, kTallySlotSeconds},
                                       std::pair{kDayTable, kTallyDaySeconds}})
        sql += QStringLiteral(" INSERT INTO %1 SELECT %2, 1 WHERE NEW.Time IS NOT NULL "
                              "ON CONFLICT(start) DO UPDATE SET n = n + 1;")
                   .arg(table, SpanStartSql(QStringLiteral("NEW.Time"), width));
    return sql + QStringLiteral(" END");
}

QString CreateDeleteTriggerSql() {
    QString sql = QStringLiteral("CREATE TRIGGER %1 AFTER DELETE ON data BEGIN "
                                 "UPDATE %2 SET n = n - 1;")
                      .arg(kDeleteTrigger, kRowsTable);
    for (const auto& [table, width] : {std::pair{kSlotTable, kTallySlotSeconds},
                                       std::pair{kDayTable, kTallyDaySeconds}})
        sql += QStringLiteral(" UPDATE %1 SET n = n - 1 WHERE start = %2;")
                   .arg(table, SpanStartSql(QStringLiteral("OLD.Time"), width));
    return sql + QStringLiteral(" END");
}

bool ExecAll(QSqlDatabase& db, const QStringList& statements, QSqlError* error) {
    QSqlQuery query(db);
    for (const QString& sql : statements) {
        if (!query.exec(sql)) {
            if (error != nullptr) *error = query.lastError();
            return false;
        }
    }
    return true;
}

}  // namespace

bool HasRecordTallies(const QSqlDatabase& db) {
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name IN "
                                   "('%1','%2','%3','%4','%5')")
                        .arg(kRowsTable, kSlotTable, kDayTable, kInsertTrigger, kDeleteTrigger)) ||
        !query.next())
        return false;
    return query.value(0).toInt() == 5;
}

bool EnsureRecordTallies(QSqlDatabase& db, QSqlError* error) {
    if (HasRecordTallies(db)) return true;
    if (!db.transaction()) {
        if (error != nullptr) *error = db.lastError();
        return false;
    }
    // One pass per table over the rows already there; GROUP BY sorts, which
    // is paid once per file.
    QStringList statements{
        QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(kInsertTrigger),
        QStringLiteral("DROP TRIGGER IF EXISTS %1").arg(kDeleteTrigger),
        QStringLiteral("DROP TABLE IF EXISTS %1").arg(kRowsTable),
        QStringLiteral("DROP TABLE IF EXISTS %1").arg(kSlotTable),
        QStringLiteral("DROP TABLE IF EXISTS %1").arg(kDayTable),
        QStringLiteral("CREATE TABLE %1 (n INTEGER NOT NULL)").arg(kRowsTable),
        QStringLiteral("INSERT INTO %1 SELECT count(*) FROM data").arg(kRowsTable),
    };
    for (const auto& [table, width] : {std::pair{kSlotTable, kTallySlotSeconds},
                                       std::pair{kDayTable, kTallyDaySeconds}}) {
        statements << QStringLiteral("CREATE TABLE %1 (start INTEGER PRIMARY KEY, n INTEGER NOT "
                                     "NULL)")
                          .arg(table)
                   << QStringLiteral("INSERT INTO %1 SELECT %2 AS s, count(*) FROM data WHERE "
                                     "Time IS NOT NULL GROUP BY s")
                          .arg(table, SpanStartSql(QStringLiteral("Time"), width));
    }
    statements << CreateInsertTriggerSql() << CreateDeleteTriggerSql();
    if (ExecAll(db, statements, error) && db.commit()) return true;
    if (error != nullptr && !error->isValid()) *error = db.lastError();
    db.rollback();
    return false;
}

bool ClearTalliedRows(QSqlDatabase& db, QSqlError* error) {
    return ExecAll(db,
                   {QStringLiteral("DROP TRIGGER %1").arg(kDeleteTrigger),
                    QStringLiteral("DELETE FROM data"), QStringLiteral("DELETE FROM ") + kSlotTable,
                    QStringLiteral("DELETE FROM ") + kDayTable,
                    QStringLiteral("UPDATE %1 SET n = 0").arg(kRowsTable),
                    CreateDeleteTriggerSql()},
                   error);
}

QString RowsBetweenSecondsSql(bool tallied) {
    if (!tallied) return QStringLiteral("(SELECT count(*) FROM data WHERE Time >= ?1 AND Time < ?2)");
    // The ten-minute counts of the first day, the days between, the
    // ten-minute counts of the last day, the index entries of the last ten
    // minutes, less those of the first ten minutes before ?1.
    return QStringLiteral(
               "((SELECT ifnull(sum(n), 0) FROM %1 WHERE start >= ?3 AND start < ?4) + "
               "(SELECT ifnull(sum(n), 0) FROM %2 WHERE start >= ?5 AND start < ?6) + "
               "(SELECT ifnull(sum(n), 0) FROM %1 WHERE start >= ?7 AND start < ?8) + "
               "(SELECT count(*) FROM data WHERE Time >= ?8 AND Time < ?2) - "
               "(SELECT count(*) FROM data WHERE Time >= ?3 AND Time < ?1))")
        .arg(kSlotTable, kDayTable);
}

std::array<qint64, 6> TallyParameters(qint64 fromSecond, qint64 toSecond) {
    const qint64 firstSlot = TallySpanStart(fromSecond, kTallySlotSeconds);
    const qint64 nextDay = TallySpanStart(fromSecond, kTallyDaySeconds) + kTallyDaySeconds;
    const qint64 lastDay = TallySpanStart(toSecond, kTallyDaySeconds);
    const qint64 lastSlot = TallySpanStart(toSecond, kTallySlotSeconds);
    return {firstSlot, std::min(nextDay, lastSlot), nextDay, lastDay, std::max(lastDay, nextDay),
            lastSlot};
}

}  // namespace orsan
