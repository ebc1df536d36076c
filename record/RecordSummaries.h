#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <vector>

namespace orsan {

// Per sensor and per UTC hour (data_hourly) and UTC day (data_daily) of
// Time, for each of a sensor's ten values: the lowest, the sum and the
// highest of its fresh readings, and their count n. A trigger keeps them in
// the same statement as every insert into `data`; nothing takes them away
// when rows are deleted, so they outlive the retention's deletions. A
// reading counts when its Ok column is not 0 and none of its ten values is
// NULL. Columns: sensor (1..6), start (first second of the span), n, then
// <Name>_min, <Name>_sum, <Name>_max for Temp, Xacc, Xvel, ... Zdisp.
enum class SummaryGrain { Hour, Day };

constexpr qint64 SummarySpanSeconds(SummaryGrain grain) {
    return grain == SummaryGrain::Hour ? 3600 : 86400;
}
QString SummaryTableName(SummaryGrain grain);

// True when the file holds the summaries and their trigger.
bool HasRecordSummaries(const QSqlDatabase& db);

// Makes the summaries where they are missing and fills them from the rows
// already there in one pass (once, for a file of an older station), all in
// one transaction: false, and the file as it was, when it cannot be written.
// The table needs its freshness columns Ok1 ... Ok6.
bool EnsureRecordSummaries(QSqlDatabase& db, QSqlError* error);

// Empties the summaries, inside the caller's transaction (the record is cleared).
bool ClearRecordSummaries(QSqlDatabase& db, QSqlError* error);

// One value of one sensor: sensor 1..6, quantity in curve order (T_Shell,
// Acc_X, Acc_Y, Acc_Z, Vel_X, Vel_Y, Vel_Z, Disp_X, Disp_Y, Disp_Z).
struct SummaryCurve {
    int sensor = 1;
    int quantity = 0;
};

struct SummaryBin {
    qint64 start = 0;     // first second of the span
    qint64 readings = 0;  // fresh readings in it
    double low = 0;
    double mean = 0;
    double high = 0;
};

// The spans of `grain` that meet [fromSecond, toSecond], oldest first, one
// list per curve in the order asked, read through SQLite's C interface.
// False with the reason when SQLite refuses.
bool ReadSummaryBins(const QSqlDatabase& db, SummaryGrain grain, qint64 fromSecond,
                     qint64 toSecond, const std::vector<SummaryCurve>& curves,
                     std::vector<std::vector<SummaryBin>>* bins, QString* error);

}  // namespace orsan
