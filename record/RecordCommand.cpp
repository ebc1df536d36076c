#include "RecordCommand.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTextStream>

#include "DataFolder.h"
#include "RecordCsvExport.h"
#include "RecordExport.h"
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
