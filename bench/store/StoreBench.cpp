#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <mutex>
#include <vector>

#include "ChildProcess.h"
#include "IniFile.h"
#include "LocalRecord.h"
#include "LocalRecordSource.h"
#include "PgCluster.h"
#include "PgSession.h"
#include "RecordTableFill.h"
#include "ServerSchema.h"
#include "SimProcess.h"
#include "StationConfig.h"
#include "StoreForwarder.h"
#include "TempDir.h"

namespace orsan::store {
namespace {

// One local database of `records` rows of six sensors (six server rows
// each), its rows as CSV for psql, and the server to send them to.
struct Fixture {
    explicit Fixture(int64_t records) : records(records) {}

    int64_t records;
    test::PgCluster cluster;
    test::TempDir local{"orsan-store-bench"};
    std::string csvPath;
    int databases = 0;
    double copySeconds = 0;
    double tableSeconds = 0;  // making the local table
    double csvSeconds = 0;    // and its CSV

    int64_t ServerRows() const { return records * kStoreSensors; }
    std::string DatabasePath() const { return local.File("DataRecord.db"); }

    // A fresh server database with an empty `readings`, made as the station
    // makes it; the one of the run before is dropped to keep the disk free.
    std::string FreshServer() {
        PgSession admin(cluster.Conninfo());
        if (databases > 0) admin.Exec("DROP DATABASE bench_" + std::to_string(databases));
        const std::string name = "bench_" + std::to_string(++databases);
        if (!admin.Exec("CREATE DATABASE " + name).ok) std::abort();
        PgSession session(cluster.Conninfo(name));
        if (!EnsureTable(session, ReadingsTable()).empty()) std::abort();
        return cluster.Conninfo(name);
    }
};

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The local table, two rows a second, and the same rows as CSV.
void MakeBacklog(Fixture& f) {
    const auto start = std::chrono::steady_clock::now();
    QString error;
    if (!bench::FillRecordTable(QString::fromStdString(f.local.Path().string()), f.records,
                                QStringLiteral("1714523415 + i / 2, (i % 2) * 500"), &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::abort();
    }
    f.tableSeconds = Seconds(start);

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
    f.csvSeconds = Seconds(start) - f.tableSeconds;
}

// One size at a time: the database of the size before is gone when the
// next one is made (10^7 rows take some 6 GB).
Fixture& Shared(int64_t records) {
    static std::unique_ptr<Fixture> fixture;
    if (!fixture || fixture->records != records) {
        fixture.reset();
        fixture = std::make_unique<Fixture>(records);
        MakeBacklog(*fixture);
    }
    return *fixture;
}

// psql's \copy of the same rows from CSV into an identical table.
void BM_PsqlCopyFromCsv(benchmark::State& state) {
    Fixture& f = Shared(state.range(0));
    for (auto _ : state) {
        const std::string conninfo = f.FreshServer();
        const auto start = std::chrono::steady_clock::now();
        test::ChildProcess psql(f.cluster.BinDir() + "/psql",
                                {"-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", conninfo, "-c",
                                 "\\copy readings FROM '" + f.csvPath + "' WITH (FORMAT csv)"});
        psql.CloseStdin();
        while (psql.ReadLine(std::chrono::minutes(30))) {
        }
        if (psql.WaitExit(std::chrono::minutes(30)) != 0) state.SkipWithError("psql failed");
        const double seconds = Seconds(start);
        state.SetIterationTime(seconds);
        f.copySeconds = seconds;
    }
    state.counters["rows"] = double(f.ServerRows());
    state.counters["table_s"] = f.tableSeconds;
    state.counters["csv_s"] = f.csvSeconds;
}

// The forwarder sending the whole backlog from DataRecord.db, from its
// start to the server's last commit.
void BM_ForwardBacklog(benchmark::State& state) {
    Fixture& f = Shared(state.range(0));
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
            done.wait(lock, [&] { return forwarded >= f.ServerRows() || !error.empty(); });
        }
        const double seconds = Seconds(start);
        forwarder.Stop();
        if (!error.empty()) state.SkipWithError(error.c_str());
        state.SetIterationTime(seconds);
        if (f.copySeconds > 0) state.counters["x_psql_copy"] = seconds / f.copySeconds;
    }
    state.counters["rows"] = double(f.ServerRows());
}

// The station itself, as a headless process with six configured sensors
// that do not answer, from its start to the first JSON line that shows no
// backlog (lines come every 0.3 s); then the server's rows are counted.
void BM_StationForwardsBacklog(benchmark::State& state) {
    Fixture& f = Shared(state.range(0));
    const QString folder = QString::fromStdString(f.local.Path().string());
    for (auto _ : state) {
        const std::string conninfo = f.FreshServer();
        INIFILE config(ConfigPath(folder));
        bool written = config.WriteString("SERVER", "CONNINFO", QString::fromStdString(conninfo)) &&
                       config.WriteString("SERVER", "STATION", "bench-station");
        for (int n = 1; n <= kSensorCount; ++n) {
            const int octets[4] = {127, 0, 0, n};
            for (int k = 1; k <= 4; ++k)
                written = config.WriteInt("SENSOR", OctetKey(n, k), octets[k - 1]) && written;
            written = config.WriteInt("SENSOR", PortKey(n), 9) && written;  // nobody listens
        }
        if (!written) state.SkipWithError("Config.ini not written");
        const auto start = std::chrono::steady_clock::now();
        test::ChildProcess station(test::StationPath(),
                                   {"--headless", "--data-dir", f.local.Path().string()});
        bool drained = false;
        while (!drained) {
            const auto line = station.ReadLine(std::chrono::minutes(30));
            if (!line) break;
            const size_t at = line->find("\"backlog\":0");
            drained = at != std::string::npos && line->find_first_of(",}", at + 11) == at + 11;
        }
        const double seconds = Seconds(start);
        station.Terminate();
        PgSession session(conninfo);
        PgOutcome outcome;
        const PgResultPtr count = session.Query("SELECT count(*) FROM readings", {}, &outcome);
        if (!drained || !count || std::atoll(PQgetvalue(count.get(), 0, 0)) != f.ServerRows())
            state.SkipWithError("the station did not forward every row");
        state.SetIterationTime(seconds);
        if (f.copySeconds > 0) state.counters["x_psql_copy"] = seconds / f.copySeconds;
    }
    state.counters["rows"] = double(f.ServerRows());
}

// Local rows: 10^5 and 10^6, and 10^7 with ORSAN_BENCH_LARGE=1.
void RegisterSizes() {
    std::vector<int64_t> sizes = {100000, 1000000};
    if (qEnvironmentVariableIntValue("ORSAN_BENCH_LARGE") == 1) sizes.push_back(10000000);
    for (const int64_t size : sizes) {
        for (auto [name, run] :
             {std::pair{"BM_PsqlCopyFromCsv", &BM_PsqlCopyFromCsv},
              std::pair{"BM_ForwardBacklog", &BM_ForwardBacklog},
              std::pair{"BM_StationForwardsBacklog", &BM_StationForwardsBacklog}})
            benchmark::RegisterBenchmark(name, run)
                ->Arg(size)
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    }
}

}  // namespace
}  // namespace orsan::store

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);  // the SQL driver plugin needs it
    orsan::store::RegisterSizes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
