#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <array>

namespace orsan {

// Row counts kept beside the table `data` by triggers in the same statement
// as every insert and delete: the whole table (data_rows), each ten minutes
// (data_rows_10min) and each UTC day (data_rows_day) of Time, keyed by the
// first second of the span. A count between two instants then reads at most
// two days of ten-minute counts, the day counts between, and ten minutes of
// Time index entries at each end: its cost does not grow with the table.
constexpr qint64 kTallySlotSeconds = 600;
constexpr qint64 kTallyDaySeconds = 86400;

// The first second of the span of `width` seconds holding `second`, as the
// triggers reckon it (also before 1970).
constexpr qint64 TallySpanStart(qint64 second, qint64 width) {
    return second - ((second % width) + width) % width;
}

// True when the file holds the counts and their triggers.
bool HasRecordTallies(const QSqlDatabase& db);

// Makes the counts and triggers where they are missing and fills them from
// the rows already there (once, for a file of an older station), all in one
// transaction: false, and the file as it was, when it cannot be written.
bool EnsureRecordTallies(QSqlDatabase& db, QSqlError* error);

// Deletes every row and zeroes the counts, inside the caller's transaction.
// The delete trigger is set aside meanwhile, so SQLite can drop the table's
// pages at once instead of row by row.
bool ClearTalliedRows(QSqlDatabase& db, QSqlError* error);

// An SQL expression: the rows whose Time is in [?1, ?2) (?1 <= ?2), from the
// counts (parameters ?3 ... ?8 from TallyParameters) or, in a file without
// them, counted through the Time index.
QString RowsBetweenSecondsSql(bool tallied);
std::array<qint64, 6> TallyParameters(qint64 fromSecond, qint64 toSecond);

}  // namespace orsan
