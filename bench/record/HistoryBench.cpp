#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "BenchTables.h"
#include "BenchTiming.h"
#include "HistoryChart.h"
#include "HistoryRowReader.h"
#include "RecordColumns.h"
#include "RecordCsvExport.h"
#include "RecordDatabase.h"
#include "RecordHistorySource.h"
#include "RecordPageText.h"
#include "RecordPager.h"
#include "SqliteStatement.h"

namespace orsan {
namespace {

using bench::BenchDir;
using bench::TableFolder;

constexpr qint64 kMillion = 1000000;
constexpr qint64 kFirstMs = qint64(1700000000) * 1000;

// Paging a million rows: every move is to be as cheap as the first page.
// FreshGoTo: the first "go to" after choosing the range, which also takes
// the per-ten-minute counts once.
enum class Move { First, NextAndBack, Last, GoTo, FreshGoTo };

void OpenMillion(RecordDatabase& db, RecordPager& pager) {
    if (!db.Open(TableFolder(kMillion))) std::abort();
    if (!pager.SetRange(RecordRange::All())) std::abort();
}

void BM_HistoryPage(benchmark::State& state) {
    RecordDatabase db;
    RecordPager pager(db, kRecordsPerPage);
    OpenMillion(db, pager);
    const Move move = Move(state.range(0));
    // Middle of the table, for the moves that start there.
    const qint64 middle = kFirstMs + kMillion / 2 * 1000;
    if (!pager.GoTo(middle)) std::abort();
    bool forward = true;
    for (auto _ : state) {
        bool ok = true;
        switch (move) {
            case Move::First:
                ok = pager.First();
                break;
            case Move::NextAndBack:
                ok = forward ? pager.Next() : pager.Previous();
                forward = !forward;
                break;
            case Move::Last:
                ok = pager.Last();
                break;
            case Move::GoTo:
                ok = pager.GoTo(middle);
                break;
            case Move::FreshGoTo:
                ok = pager.SetRange(RecordRange::All()) && pager.GoTo(middle);
                break;
        }
        if (!ok || pager.Page().rows.empty()) std::abort();
        benchmark::DoNotOptimize(pager.Page().rows.data());
    }
}
BENCHMARK(BM_HistoryPage)
    ->ArgName("first0_middle1_last2_goto3_freshgoto4")
    ->DenseRange(0, 4)
    ->Unit(benchmark::kMicrosecond);

// A chosen range, the middle half of a table of state.range(0) rows a
// second apart. Choosing it: its count and first page.
RecordRange MiddleHalf(qint64 rows) {
    return RecordRange::Between(kFirstMs + rows / 4 * 1000, kFirstMs + rows * 3 / 4 * 1000);
}

void BM_RangeChoose(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(state.range(0)))) std::abort();
    RecordPager pager(db, kRecordsPerPage);
    const RecordRange range = MiddleHalf(state.range(0));
    for (auto _ : state) {
        if (!pager.SetRange(range) || pager.Page().rows.empty()) std::abort();
        benchmark::DoNotOptimize(pager.Page().rows.data());
    }
}
BENCHMARK(BM_RangeChoose)->Apply(bench::TableSizes)->Unit(benchmark::kMicrosecond);

// After choosing the range (not timed): its first page, then the first "go
// to" its middle, alternating; their median processor times and the ratio
// (goal: go-to <= 1.5 x first page, at every size).
void BM_RangeGoToOverFirstPage(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(state.range(0)))) std::abort();
    RecordPager pager(db, kRecordsPerPage);
    const RecordRange range = MiddleHalf(state.range(0));
    const qint64 middle = kFirstMs + state.range(0) / 2 * 1000 + 500;
    std::vector<double> firstUs;
    std::vector<double> goToUs;
    for (auto _ : state) {
        state.PauseTiming();
        if (!pager.SetRange(range)) std::abort();
        state.ResumeTiming();
        const double t0 = bench::ThreadCpuUs();
        if (!pager.First() || pager.Page().rows.empty()) std::abort();
        const double t1 = bench::ThreadCpuUs();
        if (!pager.GoTo(middle) || pager.Page().rows.empty()) std::abort();
        const double t2 = bench::ThreadCpuUs();
        firstUs.push_back(t1 - t0);
        goToUs.push_back(t2 - t1);
    }
    const double first = bench::Median(firstUs);
    const double goTo = bench::Median(goToUs);
    state.counters["first_us"] = first;
    state.counters["goto_us"] = goTo;
    state.counters["ratio"] = goTo / first;
}
BENCHMARK(BM_RangeGoToOverFirstPage)->Apply(bench::TableSizes)->Unit(benchmark::kMicrosecond);

// A day at 0.3 s: 288,000 rows of one sensor.
constexpr qint64 kDayRows = 288000;
constexpr qint64 kDayStep = 300;

// The floor: one machine's ten values with each row's time, the rows of
// the day picked by Time as the plot picks them, stepped through with
// SQLite's C interface, each value read once, and nothing else. It does
// not ask which readings are stale; the plot has to.
class DayFloor {
public:
    explicit DayFloor(RecordDatabase& db) : handle_(SqliteHandle(db.Connection())) {
        QString sql = QStringLiteral("SELECT Time,msTime");
        for (const QString& column : SlotColumnNames(2)) sql += QLatin1Char(',') + column;
        sql_ =
            (sql + QStringLiteral(" FROM data WHERE Time BETWEEN ?1 AND ?2 ORDER BY Time, rowid"))
                .toUtf8();
    }

    qint64 Read(double& sum) const {
        sqlite3_stmt* statement = nullptr;
        if (sqlite3_prepare_v2(handle_, sql_.constData(), -1, &statement, nullptr) != SQLITE_OK)
            std::abort();
        sqlite3_bind_int64(statement, 1, kFirstMs / 1000);
        sqlite3_bind_int64(statement, 2, kFirstMs / 1000 + (kDayRows - 1) * kDayStep / 1000);
        qint64 rows = 0;
        const int columns = sqlite3_column_count(statement);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            sum += double(sqlite3_column_int64(statement, 0)) + sqlite3_column_int64(statement, 1);
            for (int c = 2; c < columns; ++c) sum += sqlite3_column_double(statement, c);
            ++rows;
        }
        sqlite3_finalize(statement);
        return rows;
    }

private:
    sqlite3* handle_;
    QByteArray sql_;
};

void BM_ReadDayTenValuesCApi(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(kDayRows, kDayStep))) std::abort();
    const DayFloor floor(db);
    for (auto _ : state) {
        double sum = 0;
        if (floor.Read(sum) != kDayRows) std::abort();
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadDayTenValuesCApi)->Unit(benchmark::kMillisecond);

// That day's table with the history chart over it, at the dialog's size.
struct DayChart {
    explicit DayChart(const HistorySelection& selection) : source(db), chart(source) {
        if (!db.Open(TableFolder(kDayRows, kDayStep))) std::abort();
        chart.SetSelection(selection);
        chart.SetSize(1100, 560);
    }

    // The whole day read, reduced per pixel column and drawn.
    void Plot() {
        const double from = kFirstMs / 1000.0;
        const double to = from + double(kDayRows - 1) * kDayStep / 1000.0;
        QString error;
        if (!chart.Show(from, to, &error) || chart.Reduction().RowCount() != kDayRows) std::abort();
    }

    RecordDatabase db;
    RecordHistorySource source;
    HistoryChart chart;
};

// The history chart of that day: one machine's ten curves (0), or Vel_X of
// all six machines (1).
void BM_PlotDayOneSensor(benchmark::State& state) {
    DayChart day(state.range(0) == 0 ? HistorySelection::Machine(2)
                                     : HistorySelection::Quantity(4));
    for (auto _ : state) {
        day.Plot();
        benchmark::DoNotOptimize(day.chart.Image().constBits());
    }
}
BENCHMARK(BM_PlotDayOneSensor)
    ->ArgName("machine0_allmachines1")
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond);

// The curves alone: the day reduced once (not timed), then only its ten
// curves drawn into an image of the chart's size.
void BM_PaintDayCurves(benchmark::State& state) {
    DayChart day(HistorySelection::Machine(2));
    day.Plot();
    std::array<int, kCurveCount> all;
    all.fill(1);
    QImage image(1100, 560, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        state.PauseTiming();
        image.fill(Qt::white);
        state.ResumeTiming();
        QPainter painter(&image);
        PaintReducedCurves(painter, day.chart.Reduction(), day.chart.Limits(), all);
    }
    benchmark::DoNotOptimize(image.constBits());
}
BENCHMARK(BM_PaintDayCurves)->Unit(benchmark::kMillisecond);

// Both in one run, taking turns: their median processor times and the ratio
// (goal: plot <= 1.2 x the C interface read).
void BM_PlotOverCApiRatio(benchmark::State& state) {
    DayChart day(HistorySelection::Machine(2));
    const DayFloor floor(day.db);
    std::vector<double> readUs;
    std::vector<double> plotUs;
    const auto read = [&] {
        const double start = bench::ThreadCpuUs();
        double sum = 0;
        if (floor.Read(sum) != kDayRows) std::abort();
        benchmark::DoNotOptimize(sum);
        readUs.push_back(bench::ThreadCpuUs() - start);
    };
    const auto plot = [&] {
        const double start = bench::ThreadCpuUs();
        day.Plot();
        plotUs.push_back(bench::ThreadCpuUs() - start);
    };
    bool readFirst = true;
    for (auto _ : state) {
        // Each goes first in turn: neither always finds the file's pages as
        // the other left them.
        if (readFirst) {
            read();
            plot();
        } else {
            plot();
            read();
        }
        readFirst = !readFirst;
    }
    const double readMedian = bench::Median(readUs);
    const double plotMedian = bench::Median(plotUs);
    state.counters["read_ms"] = readMedian / 1000;
    state.counters["plot_ms"] = plotMedian / 1000;
    state.counters["ratio"] = plotMedian / readMedian;
}
BENCHMARK(BM_PlotOverCApiRatio)->Unit(benchmark::kMillisecond)->Iterations(8);

// CSV of one sensor over a million rows, next to BM_Sqlite3CsvDumpMillionRows.
void BM_CsvExportMillionRows(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(kMillion))) std::abort();
    const QString path = BenchDir().filePath(QStringLiteral("export.csv"));
    for (auto _ : state) {
        const RecordExportResult result = ExportSensorCsv(db, 4, RecordRange::All(), path);
        if (result.status != RecordExportResult::Status::Written || result.rows != kMillion)
            std::abort();
    }
}
BENCHMARK(BM_CsvExportMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace orsan
