#include "RecordExport.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlQuery>
#include <limits>
#include <optional>

#include "DatabaseDiagnostic.h"
#include "ExportLineThread.h"
#include "RecordColumns.h"
#include "RecordDatabase.h"
#include "SensorDataFile.h"

namespace orsan {

namespace {

RecordExportResult Failed(const QString& error) {
    RecordExportResult result;
    result.status = RecordExportResult::Status::Failed;
    result.error = error;
    return result;
}

RecordExportResult ReadFailure(const QString& prefix, const QSqlError& error) {
    const QString diagnostic = ComposeDiagnostic(prefix, FailureFromSqlError(error));
    ReportDiagnostic(diagnostic);
    return Failed(QCoreApplication::translate("orsan::RecordExport", "读取记录数据失败：") +
                  error.databaseText());
}

}  // namespace

RecordExportResult ExportSensorRecords(RecordDatabase& database, int sensor, const QString& path,
                                       const RecordRange& range, OutputFile::Dash dash) {
    if (sensor < 1 || sensor > kRecordSlots)
        return Failed(
            QCoreApplication::translate("orsan::RecordExport", "传感器编号 %1 无效（应为 1 到 6）")
                .arg(sensor));
    if (!database.IsOpen())
        return Failed(QCoreApplication::translate("orsan::RecordExport", "记录数据库未打开"));

    const auto names = SlotColumnNames(sensor);
    QString sql = QStringLiteral("SELECT Time,msTime");
    for (const QString& name : names) sql += QLatin1Char(',') + name;
    sql += QStringLiteral(" FROM data");
    if (!range.IsAll()) sql += QStringLiteral(" WHERE ") + RangeCondition();
    sql += QStringLiteral(" ORDER BY Time, rowid");

    QSqlQuery query(database.Connection());
    query.setForwardOnly(true);
    if (!query.prepare(sql)) return ReadFailure(kCountDiagnosticPrefix, query.lastError());
    if (!range.IsAll()) BindRange(query, range);
    if (!query.exec()) return ReadFailure(kCountDiagnosticPrefix, query.lastError());

    // The lines are formatted and written on a second thread while this one
    // reads on: a million-row export takes the longer of the two, not both.
    SensorDataFileWriter writer;
    std::optional<ExportLineThread> lines;
    RecordExportResult result;
    QString error;
    std::array<float, kRecordValuesPerSlot> values{};
    while (query.next()) {
        const qint64 time = query.value(0).toLongLong();
        if (time < std::numeric_limits<int32_t>::min() ||
            time > std::numeric_limits<int32_t>::max())
            return Failed(
                QCoreApplication::translate("orsan::RecordExport", "第 %1 行的时间 %2 超出范围")
                    .arg(result.rows + 1)
                    .arg(time));
        if (result.rows == 0) {
            if (!writer.Open(path, &error, dash)) return Failed(error);
            lines.emplace(writer);
        }
        SensorSample sample;
        sample.time = int32_t(time);
        const int milliseconds = query.value(1).toInt();
        if (milliseconds < 0 || milliseconds > 999)
            return Failed(
                QCoreApplication::translate("orsan::RecordExport", "第 %1 行的毫秒值 %2 超出范围")
                    .arg(result.rows + 1)
                    .arg(milliseconds));
        sample.milliseconds = uint16_t(milliseconds);
        for (int v = 0; v < kRecordValuesPerSlot; ++v)
            values[v] = float(query.value(2 + v).toDouble());
        SetSlotValues(sample, values);
        if (!lines->Add(sample)) break;  // Finish says why
        ++result.rows;
    }
    if (query.lastError().isValid()) return ReadFailure(kReadDiagnosticPrefix, query.lastError());
    if (!lines) {
        result.status = RecordExportResult::Status::Empty;
        return result;
    }
    if (!lines->Finish(&error) || !writer.Commit(&error)) return Failed(error);
    result.status = RecordExportResult::Status::Written;
    return result;
}

}  // namespace orsan
