#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <functional>
#include <vector>

namespace orsan {

// Per sensor and per hour (data_hourly) and local day (data_daily, from
// the station's own midnight) of Time, for each of a sensor's ten values: the lowest, the sum and the
// highest of its fresh readings, and their count n. Columns: sensor (1..6),
// start (first second of the span), n, then <Name>_min, <Name>_sum,
// <Name>_max for Temp, Xacc, Xvel, ... Zdisp. A reading counts when its Ok
// column is not 0 and none of its ten values is NULL.
//
// The writer adds rows to them in batches (CatchUpRecordSummaries): every
// row above the rowid kept in data_summarised, in one savepoint with that
// mark, so a crash never counts a row twice or loses one; a trigger per
// inserted row would cost more than the insert itself. Deleting rows never
// takes anything from them, so they outlive the retention, which catches
// up before it deletes and lowers the mark after (LowerRecordSummaryMark),
// since SQLite hands the rowids of the last rows out again once they are gone.
enum class SummaryGrain { Hour, Day };

constexpr qint64 SummarySpanSeconds(SummaryGrain grain) {
    return grain == SummaryGrain::Hour ? 3600 : 86400;
}
QString SummaryTableName(SummaryGrain grain);

// True when the file holds the summaries and their trigger.
bool HasRecordSummaries(const QSqlDatabase& db);

// Makes the summaries where they are missing and sums the rows not yet in
// them in one pass (all of them once, for a file of an older station), all
// or nothing: false, and the file as it was, when it cannot be written. The
// table needs its freshness columns Ok1 ... Ok6.
bool EnsureRecordSummaries(QSqlDatabase& db, QSqlError* error);

// Adds the rows written since the last call; all or nothing, also inside a
// caller's transaction.
bool CatchUpRecordSummaries(QSqlDatabase& db, QSqlError* error);

// Inside the caller's transaction: runs deleteRows (which empties `data`)
// and empties the summaries.
bool ClearSummarisedRows(QSqlDatabase& db, const std::function<bool(QSqlError*)>& deleteRows,
                         QSqlError* error);

// After rows were deleted, inside the deleting transaction: the mark no
// higher than the highest rowid left.
bool LowerRecordSummaryMark(QSqlDatabase& db, QSqlError* error);

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

// One span of one curve: the curve's place in the list asked, and the span.
using SummaryBinSink = std::function<void(size_t curve, const SummaryBin& bin)>;

// The spans of `grain` that meet [fromSecond, toSecond] handed to `sink`,
// each curve's oldest first, read through SQLite's C interface straight
// into whatever the caller keeps. False with the reason when SQLite refuses
// (the spans handed over until then may be partial).
bool ReadSummaryBins(const QSqlDatabase& db, SummaryGrain grain, qint64 fromSecond, qint64 toSecond,
                     const std::vector<SummaryCurve>& curves, const SummaryBinSink& sink,
                     QString* error);

}  // namespace orsan
