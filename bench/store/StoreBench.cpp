#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <fstream>
#include <memory>
#include <mutex>

#include "ChildProcess.h"
#include "LocalRecord.h"
#include "LocalRecordSource.h"
#include "PgCluster.h"
#include "PgSession.h"
#include "RecordDatabase.h"
#include "ServerSchema.h"
#include "StoreForwarder.h"
#include "TempDir.h"

namespace orsan::store {
namespace {

// About 167,000 records of six sensors: a backlog of one million server rows.
constexpr int kRecords = 166667;
constexpr int64_t kServerRows = int64_t(kRecords) * kStoreSensors;

struct Fixture {
    test::PgCluster cluster;
    test::TempDir local{"orsan-store-bench"};
    std::string csvPath;
    int databases = 0;
    double copySeconds = 0;

    std::string DatabasePath() const { return local.File("DataRecord.db"); }

    // A fresh server database with an empty `readings`, made as the station makes it.
    std::string FreshServer() {
        const std::string name = "bench_" + std::to_string(++databases);
        PgSession admin(cluster.Conninfo());
        if (!admin.Exec("CREATE DATABASE " + name).ok) std::abort();
        PgSession session(cluster.Conninfo(name));
        if (!EnsureTable(session, ReadingsTable()).empty()) std::abort();
        return cluster.Conninfo(name);
    }
};

// The local table, written straight in SQLite in one transaction, values
// rounded as the record writer stores them; and the same rows as CSV.
void MakeBacklog(Fixture& f) {
    {
        RecordDatabase created;
        if (!created.Open(QString::fromStdString(f.local.Path().string()))) std::abort();
    }
    sqlite3* db = nullptr;
    if (sqlite3_open(f.DatabasePath().c_str(), &db) != SQLITE_OK) std::abort();
    std::string sql = "WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
                      std::to_string(kRecords - 1) +
                      ") INSERT INTO data SELECT 1714523415 + i / 2, (i % 2) * 500";
    for (int k = 0; k < 60; ++k) {
        // Temp, Xdisp, Ydisp and Zdisp of each slot keep one decimal.
        const bool oneDecimal = (k % 10) == 0 || (k % 10) == 3 || (k % 10) == 6 || (k % 10) == 9;
        sql += ", round(((i * " + std::to_string(k + 7) + ") % 100000) / 100.0, " +
               (oneDecimal ? "1" : "2") + ")";
    }
    sql += ", 1, 1, 1, 1, 1, 1 FROM n";  // every reading fresh
    if (sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", sqlite3_errmsg(db));
        std::abort();
    }
    sqlite3_close(db);

    // The CSV of exactly the rows the forwarder sends.
    LocalRecordSource source(f.DatabasePath());
    if (!source.Open()) std::abort();
    f.csvPath = f.local.File("readings.csv");
    std::ofstream csv(f.csvPath, std::ios::binary);
    ForwardPosition position;
    std::vector<LocalRecord> records;
    std::string text;
    for (;;) {
        if (!source.ReadAfter(position, 10000, &records)) std::abort();
        if (records.empty()) break;
        text.clear();
        AppendReadingsCopyText(records, SensorMask().set(), "bench-station", text);
        // Plain numbers and a name without commas: COPY text becomes CSV by its separator.
        for (char& c : text)
            if (c == '\t') c = ',';
        csv << text;
        position = {records.back().rowId, records.back().time, records.back().milliseconds};
    }
}

Fixture& Shared() {
    static std::unique_ptr<Fixture> fixture = [] {
        auto f = std::make_unique<Fixture>();
        MakeBacklog(*f);
        return f;
    }();
    return *fixture;
}

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// psql's \copy of the same million rows from CSV into an identical table.
void BM_PsqlCopyFromCsv(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        const std::string conninfo = f.FreshServer();
        const auto start = std::chrono::steady_clock::now();
        test::ChildProcess psql(f.cluster.BinDir() + "/psql",
                                {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", conninfo, "-c",
                                 "\\copy readings FROM '" + f.csvPath + "' WITH (FORMAT csv)"});
        psql.CloseStdin();
        while (psql.ReadLine(std::chrono::minutes(5))) {
        }
        if (psql.WaitExit(std::chrono::minutes(5)) != 0) state.SkipWithError("psql failed");
        const double seconds = Seconds(start);
        state.SetIterationTime(seconds);
        f.copySeconds = seconds;
    }
    state.counters["rows"] = double(kServerRows);
}

// The forwarder sending the whole backlog from DataRecord.db.
void BM_ForwardBacklog(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        StoreForwarderOptions options;
        options.conninfo = f.FreshServer();
        options.station = "bench-station";
        options.databasePath = f.DatabasePath();
        options.sensors.set();
        std::mutex mutex;
        std::condition_variable done;
        int64_t forwarded = 0;
        std::string error;
        options.onProgress = [&](const StoreStatus& s) {
            std::lock_guard lock(mutex);
            forwarded = s.forwardedRows;
            if (s.state == StoreState::Retrying) error = s.lastError;
            done.notify_all();
        };
        const auto start = std::chrono::steady_clock::now();
        StoreForwarder forwarder(options);
        {
            std::unique_lock lock(mutex);
            done.wait(lock, [&] { return forwarded >= kServerRows || !error.empty(); });
        }
        const double seconds = Seconds(start);
        forwarder.Stop();
        if (!error.empty()) state.SkipWithError(error.c_str());
        state.SetIterationTime(seconds);
        if (f.copySeconds > 0) state.counters["x_psql_copy"] = seconds / f.copySeconds;
    }
    state.counters["rows"] = double(kServerRows);
}

BENCHMARK(BM_PsqlCopyFromCsv)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ForwardBacklog)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orsan::store

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the SQL driver plugin needs it
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
