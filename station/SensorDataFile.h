#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QSaveFile>
#include <QString>
#include <memory>

#include "SensorSample.h"

namespace orsan {

// The sensor data text file shared by the panel's data export and the record
// export: single-byte text, CR LF line ends, left-justified blank-padded
// fields (30 characters for the time stamp, 10 for each value).

// "TimeStamp" then the ten value names, with CR LF.
QByteArray SensorDataHeaderLine();

// One sample: local time "YYYY-MM-DD HH:MM:SS.mmm", then T_Shell, Acc_X,
// Vel_X, Disp_X, Acc_Y, Vel_Y, Disp_Y, Acc_Z, Vel_Z, Disp_Z in general
// notation with 6 significant digits; with CR LF.
QByteArray SensorDataLine(const SensorSample& sample);

// A value as the stream's default float notation writes it ("23.4", "0", "120").
QByteArray SensorDataValueText(float value);

// "<folder>/传感器<n>数据<YYYY年MM月DD日HH时MM分SS秒>.txt", the moment in local time.
QString SensorDataFileName(const QString& folder, int sensorNumber, const QDateTime& now);

// The moment of an export as file names carry it: "%Y年%m月%d日%H时%M分%S秒".
QString ExportTimeText(const QDateTime& now);

// Streams one file. Open writes the header to a temporary file beside the
// target, Append adds a sample line, Commit writes the closing empty line,
// flushes and renames into place (replacing an existing file). Without a
// Commit the destructor removes the temporary file, so a failed export never
// leaves a half-written file under the final name. Errors come back as a
// text that names the file and the reason.
class SensorDataFileWriter {
public:
    SensorDataFileWriter();
    ~SensorDataFileWriter();
    SensorDataFileWriter(const SensorDataFileWriter&) = delete;
    SensorDataFileWriter& operator=(const SensorDataFileWriter&) = delete;

    bool Open(const QString& path, QString* error);
    bool Append(const SensorSample& sample, QString* error);
    bool Commit(QString* error);

private:
    bool Write(const QByteArray& bytes, QString* error);
    bool Fail(const QString& reason, QString* error);

    std::unique_ptr<QSaveFile> file_;
    QString path_;
};

// Writes a whole file: header, the samples oldest first, the closing empty
// line. False with a message naming the file when it cannot be written.
bool WriteSensorDataFile(const QString& path, const SensorSample* samples, int count,
                         QString* error);

}  // namespace orsan
