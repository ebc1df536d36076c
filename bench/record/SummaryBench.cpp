#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "BenchTables.h"
#include "BenchTiming.h"
#include "HistoryChart.h"
#include "RecordColumns.h"
#include "RecordDatabase.h"
#include "RecordHistorySource.h"
#include "RecordSummaries.h"
#include "RecordSummaryBands.h"
#include "SqliteStatement.h"

namespace orsan {
namespace {

using bench::TableFolder;

// A week at 0.3 s: 2,016,000 rows.
constexpr qint64 kWeekRows = 7 * 288000;
constexpr qint64 kWeekStep = 300;
constexpr double kWeekFrom = 1700000000.0;
constexpr double kWeekTo = kWeekFrom + double(kWeekRows - 1) * kWeekStep / 1000.0;

RecordRow BenchRow(int32_t time) {
    RecordRow row;
    row.time = time;
    for (int s = 0; s < kSensorCount; ++s) {
        SensorSample& sample = row.sensors[size_t(s)];
        sample.T_Shell = 25.26f + float(s) + float(time % 7);
        sample.Acc_X = 3.456f + float(time % 5);
        sample.Vel_Z = 1.234f;
        sample.Disp_Y = 12.0f;
    }
    row.fresh[2] = time % 3 != 0;
    return row;
}

// The week of one machine as the history shows it: hourly bands of its ten
// curves read, drawn with the frame (goal: 50 ms or less). With
// ORSAN_BENCH_PICTURE=file.png the chart is also written there.
void BM_WeekAsBands(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(kWeekRows, kWeekStep))) std::abort();
    RecordHistorySource source(db);
    HistoryChart chart(source);
    chart.SetSelection(HistorySelection::Machine(2));
    chart.SetSize(1100, 560);
    chart.SetLimits({0, 1000, 1000, 1000, 1000});
    QString error;
    for (auto _ : state) {
        if (!chart.Show(kWeekFrom, kWeekTo, &error) || chart.Detail() != HistoryDetail::Hourly)
            std::abort();
        benchmark::DoNotOptimize(chart.Image().constBits());
    }
    if (const QString picture = qEnvironmentVariable("ORSAN_BENCH_PICTURE"); !picture.isEmpty())
        chart.SavePicture(picture, nullptr);
}
BENCHMARK(BM_WeekAsBands)->Unit(benchmark::kMillisecond);

// The bands of that week read for the chart next to the same summary rows
// stepped through with SQLite's C interface alone: their median processor
// times and the ratio (goal: bands <= 1.2 x the read); show_ms is the whole
// chart of BM_WeekAsBands for comparison. The chart empties the processor's
// caches, which would cost whichever read came next: an untimed read fills
// them again, and the two take turns going first.
void BM_WeekBandsOverCApiRatio(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(kWeekRows, kWeekStep))) std::abort();
    QString sql = QStringLiteral("SELECT start, n");
    for (const QString& name : SlotColumnNames(2))
        sql += QStringLiteral(", %1_min, %1_sum, %1_max").arg(name.chopped(1));
    sql += QStringLiteral(
        " FROM data_hourly WHERE sensor = 2 AND start > ?1 AND start <= ?2 "
        "ORDER BY start");
    const QByteArray text = sql.toUtf8();
    sqlite3* const handle = SqliteHandle(db.Connection());
    const auto readRows = [&] {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(handle, text.constData(), -1, &statement, nullptr) != SQLITE_OK)
            std::abort();
        sqlite3_bind_int64(statement, 1, qint64(kWeekFrom) - 3600);
        sqlite3_bind_int64(statement, 2, qint64(kWeekTo) + 1);
        double sum = 0;
        int rows = 0;
        while (sqlite3_step(statement) == SQLITE_ROW) {
            sum += double(sqlite3_column_int64(statement, 0)) + sqlite3_column_int64(statement, 1);
            for (int c = 2; c < 32; ++c) sum += sqlite3_column_double(statement, c);
            ++rows;
        }
        sqlite3_finalize(statement);
        benchmark::DoNotOptimize(sum);
        return rows;
    };
    std::vector<SummaryCurve> curves;
    for (int k = 0; k < kRecordValuesPerSlot; ++k) curves.push_back({2, k});
    RecordHistorySource source(db);
    HistoryChart chart(source);
    chart.SetSelection(HistorySelection::Machine(2));
    chart.SetSize(1100, 560);
    std::vector<double> readUs, bandsUs, showUs;
    HistoryBands bands;
    QString error;
    int rows = 0;
    const auto timeRead = [&] {
        const double t0 = bench::ThreadCpuUs();
        rows = readRows();
        readUs.push_back(bench::ThreadCpuUs() - t0);
    };
    const auto timeBands = [&] {
        const double t0 = bench::ThreadCpuUs();
        if (!ReadSummaryBands(db, kWeekFrom, kWeekTo, HistoryDetail::Hourly, curves, {}, &bands,
                              &error))
            std::abort();
        bandsUs.push_back(bench::ThreadCpuUs() - t0);
    };
    for (auto _ : state) {
        const double t0 = bench::ThreadCpuUs();
        if (!chart.Show(kWeekFrom, kWeekTo, &error)) std::abort();
        showUs.push_back(bench::ThreadCpuUs() - t0);
        readRows();
        if (readUs.size() % 2 == 0) {
            timeRead();
            timeBands();
        } else {
            timeBands();
            timeRead();
        }
        if (int(bands.curves[0].bins.size()) != rows) std::abort();
    }
    const double read = bench::Median(readUs);
    const double read_bands = bench::Median(bandsUs);
    state.counters["read_us"] = read;
    state.counters["bands_us"] = read_bands;
    state.counters["show_ms"] = bench::Median(showUs) / 1000;
    state.counters["ratio"] = read_bands / read;
}
BENCHMARK(BM_WeekBandsOverCApiRatio)->Unit(benchmark::kMillisecond)->Iterations(50);

// Rows written as the station writes them, a hundred per iteration: the
// writer takes them into the summaries with the hundredth. Per row, the
// 99 inserts alone against all hundred with the summaries' batch: medians
// and the ratio (goal: 1.1 or less). Arg 0: processor time, in transactions
// of 1,000 rows as BM_InsertRow (without the sync); arg 1: wall time, each
// row its own transaction with the file's full sync, as the station records.
void BM_InsertWithSummariesOverAlone(benchmark::State& state) {
    const bool synced = state.range(0) == 1;
    QTemporaryDir dir;
    RecordDatabase db;
    if (!db.Open(dir.path()) || !db.HasSummaries()) std::abort();
    const auto now = [synced] {
        return synced ? std::chrono::duration<double, std::micro>(
                            std::chrono::steady_clock::now().time_since_epoch())
                            .count()
                      : bench::ThreadCpuUs();
    };
    int32_t time = 1700000000;
    std::vector<double> aloneUs, withUs;
    if (!synced) db.Connection().transaction();
    for (auto _ : state) {
        double alone = 0;
        double all = 0;
        for (int r = 0; r < RecordDatabase::kSummaryBatchRows; ++r) {
            const double t0 = now();
            if (!db.Insert(BenchRow(time++))) std::abort();
            const double spent = now() - t0;
            all += spent;
            if (r + 1 < RecordDatabase::kSummaryBatchRows) alone += spent;
        }
        aloneUs.push_back(alone / (RecordDatabase::kSummaryBatchRows - 1));
        withUs.push_back(all / RecordDatabase::kSummaryBatchRows);
        if (!synced && time % 1000 == 0) {
            db.Connection().commit();
            db.Connection().transaction();
        }
    }
    if (!synced) db.Connection().commit();
    const double a = bench::Median(withUs);
    const double b = bench::Median(aloneUs);
    state.counters["with_us"] = a;
    state.counters["alone_us"] = b;
    state.counters["ratio"] = a / b;
}
BENCHMARK(BM_InsertWithSummariesOverAlone)
    ->ArgName("cpu0_synced1")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);

// An older file of a million rows getting its summaries at its first
// writable open (its rows summed in one pass, one transaction).
void BM_FillSummariesMillionRows(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(1000000))) std::abort();
    QSqlDatabase connection = db.Connection();
    for (auto _ : state) {
        state.PauseTiming();
        QSqlQuery drop(connection);
        drop.exec(QStringLiteral("DROP TABLE data_summarised"));
        state.ResumeTiming();
        QSqlError error;
        if (!EnsureRecordSummaries(connection, &error)) std::abort();
    }
}
BENCHMARK(BM_FillSummariesMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace orsan
