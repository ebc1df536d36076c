#pragma once

#include <QDir>
#include <QString>

namespace orsan::bench {

// A temporary folder, or ORSAN_RECORD_BENCH_DIR when set: tables made there
// are kept and used again by later runs.
QDir BenchDir();

// The folder of a record table of `rows` rows stepMs apart (msTime varied),
// made once per size and step in one transaction straight in SQLite.
QString TableFolder(qint64 rows, qint64 stepMs = 1000);

}  // namespace orsan::bench
