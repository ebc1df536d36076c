#include "BenchTables.h"

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <map>

#include "RecordColumns.h"
#include "RecordDatabase.h"

namespace orsan::bench {

namespace {

// One value expression per column, varied by row number i, rounded as the
// writer stores them.
QString ValueExpressions() {
    QStringList values;
    for (int k = 0; k < kRecordSlots * kRecordValuesPerSlot; ++k) {
        const int decimals = IsOneDecimalValue(k % kRecordValuesPerSlot) ? 1 : 2;
        values
            << QStringLiteral("round(((i * %1) %% 100000) / 100.0, %2)").arg(k + 7).arg(decimals);
    }
    for (int slot = 1; slot <= kRecordSlots; ++slot) values << QStringLiteral("1");  // fresh
    return values.join(QLatin1Char(','));
}

}  // namespace

QDir BenchDir() {
    static QTemporaryDir temporary;
    const QString kept = qEnvironmentVariable("ORSAN_RECORD_BENCH_DIR");
    if (kept.isEmpty()) return QDir(temporary.path());
    QDir().mkpath(kept);
    return QDir(kept);
}

QString TableFolder(qint64 rows, qint64 stepMs) {
    static std::map<std::pair<qint64, qint64>, QString> made;
    const auto key = std::make_pair(rows, stepMs);
    auto found = made.find(key);
    if (found != made.end()) return found->second;
    const QString name = stepMs == 1000 ? QStringLiteral("rows_%1").arg(rows)
                                        : QStringLiteral("rows_%1_step%2").arg(rows).arg(stepMs);
    const QString folder = BenchDir().filePath(name);
    if (QFile::exists(folder + QStringLiteral("/complete"))) return made[key] = folder;
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    RecordDatabase db;
    if (!db.Open(folder)) std::abort();
    QSqlDatabase connection = db.Connection();
    QSqlQuery query(connection);
    // One row a second keeps the tables earlier runs made; other steps
    // spread the rows over Time and msTime.
    const QString times =
        stepMs == 1000 ? QStringLiteral("1700000000 + i, (i * 37) %% 1000")
                       : QStringLiteral("1700000000 + i * %1 / 1000, i * %1 %% 1000").arg(stepMs);
    // SQLite runs an INSERT ... SELECT into a table with triggers (the kept
    // counts) to its end in a temporary table first: chunks keep that, and
    // the log, small. The file's full sync is not needed to make it.
    query.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    constexpr qint64 kChunk = 50000;
    for (qint64 first = 0; first < rows; first += kChunk) {
        const QString sql =
            QStringLiteral(
                "WITH RECURSIVE c(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM c LIMIT %2) "
                "INSERT INTO data SELECT %3, %4 FROM c")
                .arg(first)
                .arg(std::min(kChunk, rows - first))
                .arg(times, ValueExpressions())
                .replace(QStringLiteral("%%"), QStringLiteral("%"));
        if (!query.exec(sql)) {
            std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
            std::abort();
        }
    }
    query.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QFile complete(folder + QStringLiteral("/complete"));
    complete.open(QIODevice::WriteOnly);
    made[key] = folder;
    return folder;
}

void TableSizes(benchmark::internal::Benchmark* benchmark) {
    benchmark->Arg(100000)->Arg(1000000);
    if (qEnvironmentVariable("ORSAN_BENCH_LARGE") == QLatin1String("1")) benchmark->Arg(10000000);
}

}  // namespace orsan::bench
