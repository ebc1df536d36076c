#include "RecordCsvExport.h"

#include <QCoreApplication>
#include <QFile>
#include <charconv>
#include <memory>

#include "IsoTimeText.h"
#include "SensorDataFile.h"
#include "SensorRangeReader.h"

namespace orsan {

namespace {

constexpr qsizetype kFlushBytes = 1 << 20;

RecordExportResult Failed(const QString& error) {
    RecordExportResult result;
    result.error = error;
    return result;
}

// Appends value k of the reader's row as a CSV field.
void AppendValue(const SensorRangeReader& reader, int k, QByteArray& line) {
    switch (reader.ValueKind(k)) {
        case SensorRangeReader::Kind::Null:
            return;
        case SensorRangeReader::Kind::Text:
            line += CsvField(reader.ValueText(k));
            return;
        case SensorRangeReader::Kind::Number:
            break;
    }
    char text[64];
    const auto end = std::to_chars(text, text + sizeof text, reader.Value(k)).ptr;
    line.append(text, end - text);
}

}  // namespace

QByteArray CsvHeaderLine() {
    return QByteArrayLiteral(
        "time,T_Shell,Acc_X,Acc_Y,Acc_Z,Vel_X,Vel_Y,Vel_Z,Disp_X,Disp_Y,Disp_Z\r\n");
}

QByteArray CsvField(const QByteArray& text) {
    if (text.indexOf(',') < 0 && text.indexOf('"') < 0 && text.indexOf('\r') < 0 &&
        text.indexOf('\n') < 0)
        return text;
    QByteArray quoted = text;
    quoted.replace("\"", "\"\"");
    return '"' + quoted + '"';
}

QString SensorCsvFileName(const QString& folder, int sensorNumber, const QDateTime& now,
                          const QString& machineName) {
    QString name = SensorDataFileName(folder, sensorNumber, now, machineName);
    name.chop(4);  // ".txt"
    return name + QStringLiteral(".csv");
}

RecordExportResult ExportSensorCsv(RecordDatabase& database, int sensor, const RecordRange& range,
                                   const QString& path, OutputFile::Dash dash) {
    SensorRangeReader reader(database, sensor, range);
    if (!reader.Error().isEmpty()) return Failed(reader.Error());

    const auto writeFailure = [&](const QString& reason) {
        return Failed(QCoreApplication::translate("orsan::RecordExport", "无法写入文件 %1：%2")
                          .arg(path, reason));
    };
    std::unique_ptr<OutputFile> file;
    const auto fileFailure = [&] { return writeFailure(QString::fromLocal8Bit(file->Error().c_str())); };
    QByteArray buffer;
    buffer.reserve(kFlushBytes + 4096);
    IsoTimeFormatter formatter;
    RecordExportResult result;
    char time[IsoTimeFormatter::kMaxLength];
    while (reader.Next()) {
        if (!file) {
            // A failed export must not destroy an earlier file of that name.
            file = std::make_unique<OutputFile>();
            if (!file->Open(QFile::encodeName(path).toStdString(), dash)) return fileFailure();
            buffer += CsvHeaderLine();
        }
        const qint64 milliseconds = reader.Milliseconds();
        if (milliseconds < 0 || milliseconds > 999)
            return Failed(
                QCoreApplication::translate("orsan::RecordExport", "第 %1 行的毫秒值 %2 超出范围")
                    .arg(result.rows + 1)
                    .arg(milliseconds));
        buffer.append(time, formatter.Format(reader.Time(), int(milliseconds), time));
        // A stale reading leaves its value fields empty, like a NULL.
        const bool fresh = reader.Fresh();
        for (int k = 0; k < SensorRangeReader::kValues; ++k) {
            buffer += ',';
            if (fresh) AppendValue(reader, k, buffer);
        }
        buffer += "\r\n";
        ++result.rows;
        if (buffer.size() >= kFlushBytes) {
            if (!file->Write(std::string_view(buffer.constData(), size_t(buffer.size()))))
                return fileFailure();
            buffer.clear();
        }
    }
    if (!reader.Error().isEmpty()) return Failed(reader.Error());
    if (!file) {
        result.status = RecordExportResult::Status::Empty;
        return result;
    }
    if (!file->Write(std::string_view(buffer.constData(), size_t(buffer.size()))) ||
        !file->Commit())
        return fileFailure();
    result.status = RecordExportResult::Status::Written;
    return result;
}

}  // namespace orsan
