#include "RecordListRows.h"

#include <QTableWidget>

#include "RecordPageText.h"

namespace orsan {

void SetRecordListRow(QTableWidget* list, int row, const QStringList& cells) {
    for (int c = 0; c < kRecordListColumns; ++c) {
        QTableWidgetItem* item = list->item(row, c);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignCenter);
            list->setItem(row, c, item);
        }
        item->setText(c < cells.size() ? cells[c] : QString());
    }
}

void ShowRecordRows(QTableWidget* list, qint64 startIndex, const std::vector<StoredRecord>& rows) {
    list->setUpdatesEnabled(false);
    list->setRowCount(kRecordsPerPage);
    static const QStringList kBlankRow{QStringLiteral(" ")};
    for (int r = 0; r < kRecordsPerPage; ++r) {
        if (r < int(rows.size()))
            SetRecordListRow(list, r, RecordListCells(startIndex + r + 1, rows[size_t(r)]));
        else
            SetRecordListRow(list, r, kBlankRow);
    }
    list->setUpdatesEnabled(true);
}

}  // namespace orsan
