#pragma once

#include <QString>
#include <QStringList>

#include "RecordDatabase.h"

namespace orsan {

inline constexpr int kRecordsPerPage = 22;
inline constexpr int kRecordListColumns = kRecordColumnCount;  // 62

// List column titles: "记录编号", "数据时间戳", then "[n]T温度" ... "[n]Z位移"
// for n = 1..6, and their widths in pixels (70, 160, then 72 each).
QStringList RecordListTitles();
int RecordListColumnWidth(int column);

// Local time "%Y-%m-%d %H:%M:%S".
QString FormatLocalTime(qint64 secondsSinceEpoch);

// The 62 cell texts of one list row: its position counted from 1, the time
// stamp with ".%03d" milliseconds, then the values ("%1.1f" for temperatures
// and displacements, "%1.2f" for the rest; "--" for each value of a slot
// whose reading was not fresh).
QStringList RecordListCells(qint64 position, const StoredRecord& record);

}  // namespace orsan
