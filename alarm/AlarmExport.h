#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "AlarmEvent.h"
#include "SensorNames.h"

class QTextStream;

namespace orsan {

// A time as ISO 8601 in the local zone with its offset, always spelled out
// (2024-05-01T08:30:15+08:00, and +00:00 rather than Z).
QString IsoLocalTime(int64_t seconds);

// The event table as CSV (RFC 4180): a header line with the column names of
// table `alarm`, one line per event oldest first, CRLF line ends; Time in
// ISO 8601 with offset, Ack 0/1, AckBy and AckTime (ISO 8601) empty while
// unacknowledged; Axis and Value empty for an event without a reading (LOST).
// When any machine is named, a last column Name holds the event's machine
// name; a station without names keeps the columns above.
QByteArray FormatAlarmCsv(const std::vector<AlarmEvent>& events, const SensorNames& names = {});

// Exit codes of RunAlarmExportCommand.
inline constexpr int kAlarmExportOk = 0;
inline constexpr int kAlarmExportFailed = 1;

// `--export-alarms [--out FILE]`: the events of dataDir/DataRecord.db (which
// must exist) as CSV. outPath empty: the desktop folder with the name
// 报警记录<time>.csv; an existing folder: that name inside it; otherwise the
// file itself. Prints the file's absolute path on out, or one line
// "alarm export: <reason>" on err.
int RunAlarmExportCommand(const QString& dataDir, const QString& outPath, QTextStream& out,
                          QTextStream& err);

}  // namespace orsan
