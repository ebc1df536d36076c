#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "RecordExport.h"
#include "RecordRange.h"

namespace orsan {

// "time,T_Shell,Acc_X,Acc_Y,Acc_Z,Vel_X,Vel_Y,Vel_Z,Disp_X,Disp_Y,Disp_Z" with CR LF.
QByteArray CsvHeaderLine();

// One field after RFC 4180: in double quotes, inner quotes doubled, when it
// holds a comma, a double quote, CR or LF; as it is otherwise.
QByteArray CsvField(const QByteArray& text);

// "<folder>/传感器<n>数据<YYYY年MM月DD日HH时MM分SS秒>[_<name>].csv".
QString SensorCsvFileName(const QString& folder, int sensorNumber, const QDateTime& now,
                          const QString& machineName = QString());

// One sensor's rows of range as CSV at path: the header, then one line per
// row in (Time, rowid) order, CR LF line ends. `time` is local ISO 8601 with
// milliseconds and the UTC offset; a value is its stored number in the
// shortest text that reads back the same, with a decimal point whatever the
// locale; a NULL, and every value of a reading that was not fresh, is an
// empty field, and a text another program stored is a quoted field. Written
// beside the target and renamed into place when complete; Empty (no file)
// when the range holds no row.
RecordExportResult ExportSensorCsv(RecordDatabase& database, int sensor, const RecordRange& range,
                                   const QString& path,
                                   OutputFile::Dash dash = OutputFile::Dash::FileName);

}  // namespace orsan
