#pragma once

#include <QStringList>
#include <vector>

#include "RecordDatabase.h"

class QTableWidget;

namespace orsan {

// Fills the record list with one page: kRecordsPerPage rows, the stored
// rows first (numbered from startIndex + 1), blank rows after them.
void ShowRecordRows(QTableWidget* list, qint64 startIndex, const std::vector<StoredRecord>& rows);

// One list row's cells, centred, made when missing.
void SetRecordListRow(QTableWidget* list, int row, const QStringList& cells);

}  // namespace orsan
