#pragma once

#include <QString>
#include <memory>

#include "ProcessLock.h"
#include "RecordDatabase.h"
#include "RecordRange.h"
#include "RecordRow.h"

class QTextStream;

namespace orsan {

// Exit codes of RunRecordExportCommand.
inline constexpr int kExportExitOk = 0;
inline constexpr int kExportExitFailed = 1;     // database or file could not be used
inline constexpr int kExportExitBadSensor = 2;  // sensor number outside 1..6
inline constexpr int kExportExitEmpty = 3;      // the table holds no row: no file made

// `--export-sensor N [--out FILE]`: exports sensor N's recorded rows from
// dataDir/DataRecord.db (which must exist; nothing is created). outPath may
// be empty (the desktop folder, the home folder without one, with the usual
// file name), an existing folder (the usual file name inside it) or a file
// path; "-" writes the data to standard output. A device or FIFO is written
// in place. On success prints the file's absolute path (not for "-") on `out`;
// otherwise one line "record export: <reason>" on `err` and a non-zero code.
int RunRecordExportCommand(const QString& dataDir, int sensor, const QString& outPath,
                           QTextStream& out, QTextStream& err);

// The same for the rows of a time range (`--from`/`--to`), as the sensor
// data text file or as CSV (`--format csv`, the usual file name ending in
// ".csv"). An empty range writes no file and exits with kExportExitEmpty.
struct RecordExportRequest {
    int sensor = 0;
    QString outPath;
    RecordRange range = RecordRange::All();
    bool csv = false;
};
int RunRecordExportCommand(const QString& dataDir, const RecordExportRequest& request,
                           QTextStream& out, QTextStream& err);

// Recording without the record page (`--headless --record`): every Write
// stores one row exactly as the page's writer does. A failed write is
// reported on stderr and does not stop recording: the next Write tries again
// (reopening the file), so rows resume when the disk has room again; only a
// file that can only be read (Database().LastWriteFailedReadOnly()) ends it.
class HeadlessRecorder {
public:
    // Takes the data folder's recorder lock, then opens (creating when
    // missing) dataDir/DataRecord.db. False with the reason in *error when
    // another recorder (a station window or a headless recorder) holds the
    // folder, the lock cannot be made, or the file cannot be used or only read.
    bool Open(const QString& dataDir, QString* error);
    bool Write(const RecordRow& row);
    // Closes the database, then gives the folder free to another recorder.
    void Close();

    qint64 RowsWritten() const { return rowsWritten_; }
    qint64 WritesFailed() const { return writesFailed_; }
    RecordDatabase& Database() { return database_; }

private:
    std::unique_ptr<ProcessLock> lock_;
    RecordDatabase database_;
    qint64 rowsWritten_ = 0;
    qint64 writesFailed_ = 0;
};

}  // namespace orsan
