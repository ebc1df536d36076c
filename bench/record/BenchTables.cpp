#include "BenchTables.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "RecordTableFill.h"

namespace orsan::bench {

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
    // One row a second keeps the tables earlier runs made; other steps
    // spread the rows over Time and msTime.
    const QString times =
        stepMs == 1000 ? QStringLiteral("1700000000 + i, (i * 37) % 1000")
                       : QStringLiteral("1700000000 + i * %1 / 1000, i * %1 % 1000").arg(stepMs);
    QString error;
    if (!FillRecordTable(folder, rows, times, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        std::abort();
    }
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
