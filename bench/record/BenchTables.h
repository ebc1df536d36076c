#pragma once

#include <QDir>
#include <QString>
#include <benchmark/benchmark.h>

namespace orsan::bench {

// A temporary folder, or ORSAN_RECORD_BENCH_DIR when set: tables made there
// are kept and used again by later runs.
QDir BenchDir();

// The folder of a record table of `rows` rows stepMs apart (msTime varied),
// made once per size and step in one transaction straight in SQLite.
QString TableFolder(qint64 rows, qint64 stepMs = 1000);

// The table sizes of the benchmarks whose cost may grow with the table:
// 10^5 and 10^6 rows, and 10^7 (about 6 GB) when ORSAN_BENCH_LARGE=1.
void TableSizes(benchmark::internal::Benchmark* benchmark);

}  // namespace orsan::bench
