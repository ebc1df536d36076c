#include "SensorDataFile.h"

#include <QCoreApplication>
#include <QFile>
#include <charconv>
#include <cstdio>

#include "LocalTimeText.h"
#include "OutputPath.h"

namespace orsan {

namespace {

QString ErrorText(const OutputFile& file) {
    return QString::fromLocal8Bit(file.Error());
}

constexpr int kTimeStampWidth = 30;
constexpr int kValueWidth = 10;
const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

// Blank-padded to width; a longer text stays whole.
void AppendField(QByteArray& line, const QByteArray& text, int width) {
    line += text;
    if (text.size() < width) line += QByteArray(width - text.size(), ' ');
}

}  // namespace

QByteArray SensorDataHeaderLine() {
    static const char* const kNames[] = {"Temp",  "X_Acc",  "X_Vel", "X_Disp", "Y_Acc",
                                         "Y_Vel", "Y_Disp", "Z_Acc", "Z_Vel",  "Z_Disp"};
    QByteArray line;
    AppendField(line, QByteArrayLiteral("TimeStamp"), kTimeStampWidth);
    for (const char* name : kNames) AppendField(line, QByteArray(name), kValueWidth);
    line += kLineEnd;
    return line;
}

namespace {

// printf's "%g" (general, 6 significant digits), through to_chars, which the
// standard defines to give the same text, four times faster than snprintf.
int GeneralText(float value, char* out, int size) {
    const auto result = std::to_chars(out, out + size, value, std::chars_format::general, 6);
    return static_cast<int>(result.ptr - out);
}

}  // namespace

QByteArray SensorDataValueText(float value) {
    char text[64];
    return QByteArray(text, GeneralText(value, text, sizeof text));
}

QByteArray SensorDataLine(const SensorSample& sample) {
    // Built in one stack buffer: the record export formats a line per row,
    // a million rows and more, and allocations per field would dominate.
    char line[512];
    int length = FormatLocalTimeInto(sample.time, "%Y-%m-%d %H:%M:%S", line, 64);
    length += std::snprintf(line + length, 16, ".%.3d", static_cast<int>(sample.milliseconds));
    auto pad = [&](int fieldStart, int width) {
        while (length < fieldStart + width) line[length++] = ' ';
    };
    pad(0, kTimeStampWidth);
    const float values[] = {sample.T_Shell, sample.Acc_X, sample.Vel_X,  sample.Disp_X,
                            sample.Acc_Y,   sample.Vel_Y, sample.Disp_Y, sample.Acc_Z,
                            sample.Vel_Z,   sample.Disp_Z};
    for (float value : values) {
        const int start = length;
        length += GeneralText(value, line + length, 40);
        pad(start, kValueWidth);
    }
    line[length++] = '\r';
    line[length++] = '\n';
    return QByteArray(line, length);
}

QString ExportTimeText(const QDateTime& now) {
    return now.toLocalTime().toString(QStringLiteral("yyyy年MM月dd日HH时mm分ss秒"));
}

QString SensorExportFileName(const QString& folder, int sensorNumber, const QString& kind,
                             const QDateTime& now, const QString& extension,
                             const QString& machineName) {
    // Plain concatenation: a chained arg() would rewrite a "%1" in the folder.
    const QString head =
        QStringLiteral("传感器") + QString::number(sensorNumber) + kind + ExportTimeText(now);
    // The name gets what room the file system leaves: a long one is cut, never the export.
    const int room = kMaxFileNameBytes - int(QFile::encodeName(head + extension).size());
    return folder + QLatin1Char('/') + head + FileNameSuffix(machineName, room) + extension;
}

QString SensorDataFileName(const QString& folder, int sensorNumber, const QDateTime& now,
                           const QString& machineName) {
    return SensorExportFileName(folder, sensorNumber, QStringLiteral("数据"), now,
                                QStringLiteral(".txt"), machineName);
}

SensorDataFileWriter::SensorDataFileWriter() = default;

SensorDataFileWriter::~SensorDataFileWriter() = default;

bool SensorDataFileWriter::Fail(const QString& reason, QString* error) {
    if (error)
        *error =
            QCoreApplication::translate("SensorDataFile", "无法写入文件 %1：%2").arg(path_, reason);
    file_.Cancel();
    return false;
}

bool SensorDataFileWriter::Open(const QString& path, QString* error, OutputFile::Dash dash) {
    path_ = path;
    if (!file_.Open(OutputPathBytes(path), dash)) return Fail(ErrorText(file_), error);
    return Write(SensorDataHeaderLine(), error);
}

bool SensorDataFileWriter::Write(const QByteArray& bytes, QString* error) {
    if (!file_.Write(std::string_view(bytes.constData(), size_t(bytes.size()))))
        return Fail(ErrorText(file_), error);
    return true;
}

bool SensorDataFileWriter::Append(const SensorSample& sample, QString* error) {
    return Write(SensorDataLine(sample), error);
}

bool SensorDataFileWriter::Commit(QString* error) {
    if (!Write(kLineEnd, error)) return false;
    if (!file_.Commit()) return Fail(ErrorText(file_), error);
    return true;
}

bool WriteSensorDataFile(const QString& path, const SensorSample* samples, int count,
                         QString* error) {
    SensorDataFileWriter writer;
    if (!writer.Open(path, error)) return false;
    for (int i = 0; i < count; ++i) {
        if (!writer.Append(samples[i], error)) return false;
    }
    return writer.Commit(error);
}

}  // namespace orsan
