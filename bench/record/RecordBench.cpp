#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

#include "BenchTables.h"
#include "DatabaseLogDlg.h"
#include "RecordColumns.h"
#include "RecordDatabase.h"
#include "RecordExport.h"
#include "RecordPageText.h"
#include "SensorDataFile.h"

namespace orsan {
namespace {

using bench::BenchDir;
using bench::TableFolder;

RecordRow SampleRow(int32_t time) {
    RecordRow row;
    row.time = time;
    for (int s = 0; s < kSensorCount; ++s) {
        SensorSample& sample = row.sensors[size_t(s)];
        sample.T_Shell = 25.26f + float(s);
        sample.Acc_X = 3.456f;
        sample.Vel_Z = 1.234f;
        sample.Disp_Y = 12.0f;
    }
    return row;
}

void BM_RefreshRecordList(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(state.range(0)))) std::abort();
    DatabaseLogDlg page(db, QDir::tempPath());  // counts once; later reloads use the kept count
    for (auto _ : state) page.RefreshRecordList();
}
BENCHMARK(BM_RefreshRecordList)->Arg(100)->Arg(10000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Opening the record page: its row count, kept by the file (goal: 2 ms or
// less at 10^7 rows), next to counting the rows (what it replaced).
void BM_RecordPageCount(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(state.range(0)))) std::abort();
    for (auto _ : state) {
        const std::optional<qint64> count = db.Count();
        if (count != state.range(0)) std::abort();
    }
}
BENCHMARK(BM_RecordPageCount)->Apply(bench::TableSizes)->Unit(benchmark::kMicrosecond);

void BM_CountStar(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(state.range(0)))) std::abort();
    for (auto _ : state) {
        QSqlQuery query(db.Connection());
        if (!query.exec(QStringLiteral("SELECT count(*) FROM data")) || !query.next() ||
            query.value(0).toLongLong() != state.range(0))
            std::abort();
    }
}
BENCHMARK(BM_CountStar)->Apply(bench::TableSizes)->Unit(benchmark::kMicrosecond);

void BM_LoadLastPage(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(state.range(0)))) std::abort();
    RecordPage page;
    db.LoadLastPage(kRecordsPerPage, &page);
    for (auto _ : state) {
        db.LoadLastPage(kRecordsPerPage, &page);
        benchmark::DoNotOptimize(page.rows.data());
    }
}
BENCHMARK(BM_LoadLastPage)->Apply(bench::TableSizes)->Unit(benchmark::kMicrosecond);

// One row with the reload that follows it (interval of 1 s or more), on a
// table of 10,000 rows. Includes the full-sync commit.
void BM_WriteRecord(benchmark::State& state) {
    QTemporaryDir dir;
    RecordDatabase db;
    if (!db.Open(dir.path())) std::abort();
    DatabaseLogDlg page(db, QDir::tempPath());
    page.StartRecording();
    int32_t time = 1700000000;
    for (auto _ : state) page.WriteRecord(SampleRow(time++));
}
BENCHMARK(BM_WriteRecord)->Unit(benchmark::kMillisecond);

// The insert alone, without the commit's sync: the cost of binding and
// running one row, batched in transactions of 1,000 rows.
void BM_InsertRow(benchmark::State& state) {
    QTemporaryDir dir;
    RecordDatabase db;
    if (!db.Open(dir.path())) std::abort();
    QSqlDatabase connection = db.Connection();
    int32_t time = 1700000000;
    connection.transaction();
    for (auto _ : state) {
        if (!db.Insert(SampleRow(time++))) std::abort();
        if (time % 1000 == 0) {
            connection.commit();
            connection.transaction();
        }
    }
    connection.commit();
}
BENCHMARK(BM_InsertRow)->Unit(benchmark::kMicrosecond);

QString ExportSql(int sensor) {
    QStringList columns{QStringLiteral("Time"), QStringLiteral("msTime")};
    for (const QString& name : SlotColumnNames(sensor)) columns << name;
    return QStringLiteral("SELECT ") + columns.join(QLatin1Char(',')) +
           QStringLiteral(" FROM data ORDER BY Time, rowid");
}

void BM_ExportOneSensorMillionRows(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(1000000))) std::abort();
    const QString path = BenchDir().filePath(QStringLiteral("export.txt"));
    for (auto _ : state) {
        const RecordExportResult result = ExportSensorRecords(db, 4, path);
        if (result.status != RecordExportResult::Status::Written) std::abort();
    }
}
BENCHMARK(BM_ExportOneSensorMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// Breakdown of the export: reading the rows alone.
void BM_ReadOneSensorMillionRows(benchmark::State& state) {
    RecordDatabase db;
    if (!db.Open(TableFolder(1000000))) std::abort();
    for (auto _ : state) {
        QSqlQuery query(db.Connection());
        query.setForwardOnly(true);
        if (!query.exec(ExportSql(4))) std::abort();
        double sum = 0;
        while (query.next())
            for (int c = 0; c < 12; ++c) sum += query.value(c).toDouble();
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ReadOneSensorMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

// Breakdown of the export: formatting a million lines alone.
void BM_FormatMillionLines(benchmark::State& state) {
    SensorSample sample;
    sample.T_Shell = 25.3f;
    sample.Acc_X = 0.12f;
    sample.Vel_X = 3.46f;
    sample.Disp_X = 12.0f;
    for (auto _ : state) {
        qint64 bytes = 0;
        for (int i = 0; i < 1000000; ++i) {
            sample.time = 1700000000 + i;
            bytes += SensorDataLine(sample).size();
        }
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_FormatMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

// Breakdown of the export: formatting and writing a million lines.
void BM_WriteMillionLines(benchmark::State& state) {
    SensorSample sample;
    sample.T_Shell = 25.3f;
    const QString path = BenchDir().filePath(QStringLiteral("lines.txt"));
    for (auto _ : state) {
        SensorDataFileWriter writer;
        QString error;
        if (!writer.Open(path, &error)) std::abort();
        for (int i = 0; i < 1000000; ++i) {
            sample.time = 1700000000 + i;
            if (!writer.Append(sample, &error)) std::abort();
        }
        if (!writer.Commit(&error)) std::abort();
    }
}
BENCHMARK(BM_WriteMillionLines)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor: the sqlite3 shell dumping the same twelve columns of the same
// file as CSV, in the same order, into a file.
void BM_Sqlite3CsvDumpMillionRows(benchmark::State& state) {
    const QString db = RecordDatabase::PathIn(TableFolder(1000000));
    const QString out = BenchDir().filePath(QStringLiteral("dump.csv"));
    const QByteArray command =
        QStringLiteral("sqlite3 -csv '%1' '%2' > '%3'").arg(db, ExportSql(4), out).toLocal8Bit();
    for (auto _ : state)
        if (std::system(command.constData()) != 0) std::abort();
}
BENCHMARK(BM_Sqlite3CsvDumpMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace orsan

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
