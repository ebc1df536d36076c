#include <benchmark/benchmark.h>

#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdlib>

#include "RecordColumns.h"
#include "RecordDatabase.h"
#include "RecordRetention.h"

namespace orsan {
namespace {

constexpr qint64 kFirstMs = 1700000000000;
constexpr qint64 kStepMs = 300;  // the shortest record interval
constexpr qint64 kRowsPerFill = 100 * RecordRetention::kBatchRows;

// Appends kRowsPerFill rows 0.3 s apart after those already there.
void AppendRows(RecordDatabase& db, qint64 first) {
    QStringList values;
    for (int k = 0; k < kRecordSlots * kRecordValuesPerSlot; ++k)
        values << QStringLiteral("round(((i * %1) % 100000) / 100.0, 2)").arg(k + 7);
    for (int slot = 1; slot <= kRecordSlots; ++slot) values << QStringLiteral("1");
    QSqlDatabase connection = db.Connection();
    connection.transaction();
    QSqlQuery query(connection);
    const QString sql =
        QStringLiteral(
            "WITH RECURSIVE c(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM c LIMIT %2) "
            "INSERT INTO data SELECT (%3 + i * %4) / 1000, (%3 + i * %4) % 1000, ")
            .arg(first)
            .arg(kRowsPerFill)
            .arg(kFirstMs)
            .arg(kStepMs) +
        values.join(QLatin1Char(',')) + QStringLiteral(" FROM c");
    if (!query.exec(sql)) std::abort();
    query.finish();
    connection.commit();
    // Rows days old are long in the summaries, as the recorder keeps them.
    if (!db.CatchUpSummaries()) std::abort();
}

// One retention step on a record of 0.3 s rows that are all past their
// days: a batch of rows deleted and the free pages given back in one commit.
// The recorder waits at most this long for its next row.
void BM_RetentionBatch(benchmark::State& state) {
    QTemporaryDir dir;
    RecordDatabase db;
    if (!db.Open(dir.path())) std::abort();
    RecordRetention retention(db, 1);
    const qint64 nowMs = kFirstMs + 1000LL * 24 * 3600 * 1000;
    qint64 appended = 0;
    qint64 left = 0;
    for (auto _ : state) {
        if (left < RecordRetention::kBatchRows) {
            state.PauseTiming();
            AppendRows(db, appended);
            appended += kRowsPerFill;
            left += kRowsPerFill;
            state.ResumeTiming();
        }
        const std::optional<RecordRetention::Step> step = retention.RunStep(nowMs, nullptr);
        if (!step) std::abort();
        left -= step->deleted;
        benchmark::DoNotOptimize(step->pagesFreed);
    }
    state.counters["rows"] = RecordRetention::kBatchRows;
}
BENCHMARK(BM_RetentionBatch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orsan
