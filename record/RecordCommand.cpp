#include "RecordCommand.h"

#include <QDateTime>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTextStream>

#include "DataFolder.h"
#include "RecordCsvExport.h"
#include "RecordExport.h"
#include "RecordRange.h"
#include "SensorDataFile.h"
#include "StationConfig.h"

namespace orsan {

namespace {

const QString kStandardOutputName = QStringLiteral("-");

QString ExportTarget(const QString& outPath, int sensor, bool csv, const QString& machine) {
    const QDateTime now = QDateTime::currentDateTime();
    const auto name = csv ? SensorCsvFileName : SensorDataFileName;
    if (outPath == kStandardOutputName) return outPath;
    if (outPath.isEmpty()) return name(ResolveDesktopFolder(), sensor, now, machine);
    if (QFileInfo(outPath).isDir()) return name(outPath, sensor, now, machine);
    return outPath;
}

// True when the range holds rows but none with a reading of this sensor.
bool OnlyStaleRows(RecordDatabase& database, int sensor, const RecordRange& range) {
    const auto any = [&](const QString& condition) {
        QSqlQuery query(database.Connection());
        query.prepare(QStringLiteral("SELECT 1 FROM data WHERE %1 AND %2 LIMIT 1")
                          .arg(RangeCondition(), condition));
        BindRange(query, range);
        // Unknown counts as a reading: the export itself then reports the failure.
        return !query.exec() || query.next();
    };
    return any(QStringLiteral("1")) && !any(database.FreshnessSql(sensor));
}

}  // namespace

int RunRecordExportCommand(const QString& dataDir, int sensor, const QString& outPath,
                           QTextStream& out, QTextStream& err) {
    RecordExportRequest request;
    request.sensor = sensor;
    request.outPath = outPath;
    return RunRecordExportCommand(dataDir, request, out, err);
}

int RunRecordExportCommand(const QString& dataDir, const RecordExportRequest& request,
                           QTextStream& out, QTextStream& err) {
    const int sensor = request.sensor;
    if (sensor < 1 || sensor > kRecordSlots) {
        err << "record export: sensor number " << sensor << " is outside 1..6\n";
        err.flush();
        return kExportExitBadSensor;
    }
    RecordDatabase database;
    if (!database.Open(dataDir, RecordDatabase::Mode::ExistingOnly)) {
        err << "record export: cannot open " << RecordDatabase::PathIn(dataDir) << '\n'
            << database.LastDiagnostic() << '\n';
        err.flush();
        return kExportExitFailed;
    }
    // The text format has no empty value: a sensor that never answered (or
    // has no address) would come out as rows of zeros that look like readings.
    if (!request.csv && OnlyStaleRows(database, sensor, request.range)) {
        err << "record export: sensor " << sensor
            << " has no reading in the record (no address, or it never answered), no file "
               "written; --format csv shows its rows with empty values\n";
        err.flush();
        return kExportExitEmpty;
    }
    const QString machine = LoadSensorNames(INIFILE(ConfigPath(dataDir)))[size_t(sensor - 1)];
    const QString target = ExportTarget(request.outPath, sensor, request.csv, machine);
    const bool toStandardOutput = target == kStandardOutputName;
    const OutputFile::Dash dash =
        toStandardOutput ? OutputFile::Dash::StandardOutput : OutputFile::Dash::FileName;
    const RecordExportResult result =
        request.csv ? ExportSensorCsv(database, sensor, request.range, target, dash)
                    : ExportSensorRecords(database, sensor, target, request.range, dash);
    switch (result.status) {
        case RecordExportResult::Status::Written:
            // Standard output carries the data itself, nothing else.
            if (!toStandardOutput) out << QFileInfo(target).absoluteFilePath() << '\n';
            out.flush();
            return kExportExitOk;
        case RecordExportResult::Status::Empty:
            err << (request.range.IsAll()
                        ? "record export: the record table is empty, no file written\n"
                        : "record export: no row in the given range, no file written\n");
            err.flush();
            return kExportExitEmpty;
        case RecordExportResult::Status::Failed:
            break;
    }
    err << "record export: " << result.error << '\n';
    err.flush();
    return kExportExitFailed;
}

bool HeadlessRecorder::Open(const QString& dataDir, QString* error) {
    auto lock = std::make_unique<ProcessLock>(RecorderLockPath(dataDir));
    if (lock->TryLock() != ProcessLock::Outcome::Held) {
        if (error) *error = RecorderLockRefusal(*lock, dataDir);
        return false;
    }
    if (!database_.Open(dataDir)) {
        if (error)
            *error = QStringLiteral("cannot open %1\n%2")
                         .arg(RecordDatabase::PathIn(dataDir), database_.LastDiagnostic());
        return false;
    }
    if (!database_.CanWrite()) {
        if (error) *error = ReadOnlyDatabaseText(database_.FilePath());
        database_.Close();
        return false;
    }
    lock_ = std::move(lock);
    return true;
}

void HeadlessRecorder::Close() {
    database_.Close();
    lock_.reset();
}

bool HeadlessRecorder::Write(const RecordRow& row) {
    if (database_.Insert(row)) {
        ++rowsWritten_;
        return true;
    }
    ++writesFailed_;
    return false;
}

}  // namespace orsan
