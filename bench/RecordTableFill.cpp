#include "RecordTableFill.h"

#include <sqlite3.h>

#include <QStringList>
#include <memory>

#include "RecordColumns.h"
#include "RecordDatabase.h"

namespace orsan::bench {

namespace {

// One value expression per column. Integer steps over 10 or 100 are already
// the doubles nearest one or two decimals: SQLite's round(), which prints
// and parses every value, made most of the time of a large table.
QString ValueExpressions() {
    QStringList values;
    for (int k = 0; k < kRecordSlots * kRecordValuesPerSlot; ++k) {
        values << (IsOneDecimalValue(k % kRecordValuesPerSlot)
                       ? QStringLiteral("((i * %1) %% 10000) / 10.0")
                       : QStringLiteral("((i * %1) %% 100000) / 100.0"))
                      .arg(k + 7);
    }
    for (int slot = 1; slot <= kRecordSlots; ++slot) values << QStringLiteral("1");
    return values.join(QLatin1Char(',')).replace(QStringLiteral("%%"), QStringLiteral("%"));
}

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

bool Exec(sqlite3* db, const QString& sql, QString* error) {
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, nullptr) == SQLITE_OK)
        return true;
    if (error != nullptr)
        *error = QString::fromUtf8(sqlite3_errmsg(db)) + QStringLiteral(": ") + sql.left(200);
    return false;
}

bool Reopen(const QString& folder, QString* error) {
    RecordDatabase db;
    if (db.Open(folder)) return true;
    if (error != nullptr) *error = QStringLiteral("cannot open the record database in ") + folder;
    return false;
}

}  // namespace

bool FillRecordTable(const QString& folder, qint64 rows, const QString& timeColumns,
                     QString* error) {
    if (!Reopen(folder, error)) return false;  // the schema, as the station makes it
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open(RecordDatabase::PathIn(folder).toUtf8().constData(), &raw);
    std::unique_ptr<sqlite3, SqliteCloser> db(raw);
    if (opened != SQLITE_OK) {
        if (error != nullptr) *error = QString::fromUtf8(sqlite3_errmsg(raw));
        return false;
    }
    // Without a journal, a sync or the count triggers (a row-by-row update
    // of three tables) the rows go in at SQLite's own pace; the station
    // counts them once at the next open, as it does for an older file.
    QStringList setUp{QStringLiteral("PRAGMA journal_mode=OFF"),
                      QStringLiteral("PRAGMA synchronous=OFF"),
                      QStringLiteral("PRAGMA cache_size=-262144")};
    sqlite3_stmt* triggers = nullptr;
    if (sqlite3_prepare_v2(
            db.get(), "SELECT name FROM sqlite_master WHERE type='trigger' AND tbl_name='data'", -1,
            &triggers, nullptr) != SQLITE_OK) {
        if (error != nullptr) *error = QString::fromUtf8(sqlite3_errmsg(db.get()));
        return false;
    }
    while (sqlite3_step(triggers) == SQLITE_ROW)
        setUp << QStringLiteral("DROP TRIGGER \"%1\"")
                     .arg(QString::fromUtf8(
                         reinterpret_cast<const char*>(sqlite3_column_text(triggers, 0))));
    sqlite3_finalize(triggers);
    for (const QString& sql : setUp)
        if (!Exec(db.get(), sql, error)) return false;
    const QString insert =
        QStringLiteral(
            "WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c LIMIT %1) "
            "INSERT INTO data SELECT %2, %3 FROM c")
            .arg(rows)
            .arg(timeColumns, ValueExpressions());
    if (!Exec(db.get(), QStringLiteral("BEGIN"), error) || !Exec(db.get(), insert, error) ||
        !Exec(db.get(), QStringLiteral("COMMIT"), error) ||
        !Exec(db.get(), QStringLiteral("PRAGMA journal_mode=WAL"), error))
        return false;
    db.reset();
    return Reopen(folder, error);
}

}  // namespace orsan::bench
