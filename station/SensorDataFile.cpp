#include "SensorDataFile.h"

#include <charconv>
#include <cstdio>

#include "LocalTimeText.h"

namespace orsan {

namespace {

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

QString SensorDataFileName(const QString& folder, int sensorNumber, const QDateTime& now) {
    return QStringLiteral("%1/传感器%2数据%3.txt")
        .arg(folder)
        .arg(sensorNumber)
        .arg(ExportTimeText(now));
}

SensorDataFileWriter::SensorDataFileWriter() = default;

SensorDataFileWriter::~SensorDataFileWriter() {
    // QSaveFile discards its temporary file when destroyed uncommitted.
    if (file_) file_->cancelWriting();
}

bool SensorDataFileWriter::Fail(const QString& reason, QString* error) {
    if (error) *error = QStringLiteral("无法写入文件 %1：%2").arg(path_, reason);
    if (file_) {
        file_->cancelWriting();
        file_.reset();
    }
    return false;
}

bool SensorDataFileWriter::Open(const QString& path, QString* error) {
    if (file_) file_->cancelWriting();
    path_ = path;
    file_ = std::make_unique<QSaveFile>(path);
    // Never write straight into the target: a failed export must not
    // destroy an earlier file of the same name.
    file_->setDirectWriteFallback(false);
    if (!file_->open(QIODevice::WriteOnly)) return Fail(file_->errorString(), error);
    return Write(SensorDataHeaderLine(), error);
}

bool SensorDataFileWriter::Write(const QByteArray& bytes, QString* error) {
    if (!file_) return Fail(QStringLiteral("文件未打开"), error);
    if (file_->write(bytes) != bytes.size()) return Fail(file_->errorString(), error);
    return true;
}

bool SensorDataFileWriter::Append(const SensorSample& sample, QString* error) {
    return Write(SensorDataLine(sample), error);
}

bool SensorDataFileWriter::Commit(QString* error) {
    if (!Write(kLineEnd, error)) return false;
    if (!file_->commit()) return Fail(file_->errorString(), error);
    file_.reset();
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
