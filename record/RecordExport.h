#pragma once

#include <QString>

#include "OutputFile.h"
#include "RecordRange.h"

namespace orsan {

class RecordDatabase;

struct RecordExportResult {
    enum class Status {
        Written,  // the file is complete under its final name
        Empty,    // the table holds no row: no file was made
        Failed,   // nothing under the final name; `error` says why
    };
    Status status = Status::Failed;
    qint64 rows = 0;
    QString error;
};

// Streams every row of the table, in Time order (rows of one second in the
// order they were written), as one sensor's lines of the sensor data text
// file at `path`: Time and msTime, then Temp<n> ... Zdisp<n> read back as
// 32-bit floats. Rows are read one at a time, never all held in memory.
// A regular file is written beside the target and renamed into place only
// when complete; a failure to read or write leaves no file. A device or FIFO
// is written in place; with StandardOutput, "-" is standard output. With a
// range only its rows (Empty when it holds none).
RecordExportResult ExportSensorRecords(RecordDatabase& database, int sensor, const QString& path,
                                       const RecordRange& range = RecordRange::All(),
                                       OutputFile::Dash dash = OutputFile::Dash::FileName);

}  // namespace orsan
