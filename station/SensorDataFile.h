#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "OutputFile.h"
#include "SensorNames.h"
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

// "<folder>/传感器<n><kind><YYYY年MM月DD日HH时MM分SS秒><extension>", the
// moment in local time; the folder is taken as it is, "%" and all. A named
// machine adds "_<name>" before the extension (FileNameSuffix): what comes
// before it, which readers match and parse, stays as it was.
QString SensorExportFileName(const QString& folder, int sensorNumber, const QString& kind,
                             const QDateTime& now, const QString& extension,
                             const QString& machineName = QString());

// "<folder>/传感器<n>数据<YYYY年MM月DD日HH时MM分SS秒>[_<name>].txt", the moment in local time.
QString SensorDataFileName(const QString& folder, int sensorNumber, const QDateTime& now,
                           const QString& machineName = QString());

// The moment of an export as file names carry it: "%Y年%m月%d日%H时%M分%S秒".
QString ExportTimeText(const QDateTime& now);

// Streams one file through OutputFile. Open writes the header, Append adds a
// sample line, Commit writes the closing empty line and puts the file in
// place. A regular file is written beside the target and renamed into place,
// so without a Commit nothing half-written appears under the final name; a
// device or FIFO is written in place. Errors come back as a text that names
// the file and the reason.
class SensorDataFileWriter {
public:
    SensorDataFileWriter();
    ~SensorDataFileWriter();
    SensorDataFileWriter(const SensorDataFileWriter&) = delete;
    SensorDataFileWriter& operator=(const SensorDataFileWriter&) = delete;

    bool Open(const QString& path, QString* error,
              OutputFile::Dash dash = OutputFile::Dash::FileName);
    bool Append(const SensorSample& sample, QString* error);
    bool Commit(QString* error);

private:
    bool Write(const QByteArray& bytes, QString* error);
    bool Fail(const QString& reason, QString* error);

    OutputFile file_;
    QString path_;
};

// Writes a whole file: header, the samples oldest first, the closing empty
// line. False with a message naming the file when it cannot be written.
bool WriteSensorDataFile(const QString& path, const SensorSample* samples, int count,
                         QString* error);

}  // namespace orsan
