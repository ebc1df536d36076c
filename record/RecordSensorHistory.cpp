#include "RecordSensorHistory.h"

#include <QSqlQuery>
#include <QVariant>

namespace orsan {

namespace {

const QString kCreateSql = QStringLiteral(
    "CREATE TABLE IF NOT EXISTS data_sensors (from_row INTEGER PRIMARY KEY, "
    "sensors INTEGER NOT NULL)");

QSqlError Run(QSqlQuery& query, const QString& sql, const QVariantList& values = {}) {
    if (!query.prepare(sql)) return query.lastError();
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec()) return query.lastError();
    return QSqlError();
}

}  // namespace

QSqlError NoteSensorSelection(QSqlDatabase db, SensorSelection sensors) {
    if (!db.transaction()) return db.lastError();
    QSqlError error;
    {
        QSqlQuery query(db);
        // The next rowid SQLite gives: one past the largest. Entries from
        // there on were never used (or belong to rows since deleted).
        const QString next = QStringLiteral("(SELECT coalesce(max(rowid), 0) + 1 FROM data)");
        const qlonglong mask = qlonglong(sensors.to_ulong());
        error = Run(query, kCreateSql);
        if (!error.isValid())
            error =
                Run(query, QStringLiteral("DELETE FROM data_sensors WHERE from_row >= ") + next);
        if (!error.isValid())
            error = Run(query,
                        QStringLiteral("INSERT INTO data_sensors SELECT ") + next +
                            ", ? WHERE (SELECT sensors FROM data_sensors ORDER BY from_row DESC "
                            "LIMIT 1) IS NOT ?",
                        {mask, mask});
    }
    if (!error.isValid() && !db.commit()) error = db.lastError();
    if (error.isValid()) db.rollback();
    return error;
}

QSqlError RestartSensorHistory(QSqlDatabase db) {
    QSqlQuery query(db);
    QSqlError error = Run(query, kCreateSql);
    if (!error.isValid())
        error = Run(query, QStringLiteral("DELETE FROM data_sensors WHERE from_row < "
                                          "(SELECT max(from_row) FROM data_sensors)"));
    if (!error.isValid())
        error = Run(query, QStringLiteral("UPDATE data_sensors SET from_row = 1"));
    return error;
}

}  // namespace orsan
