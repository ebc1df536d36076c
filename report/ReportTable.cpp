#include "ReportTable.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace orsan {

namespace {

const QColor kHeaderShade(230, 230, 230);
constexpr double kLineWidth = 0.75;

// A cell's text, and its lines: with collapsed borders each cell draws its own.
void Fill(QTextTable* table, int row, int column, const QString& text, Qt::Alignment align,
          bool shaded = false) {
    QTextTableCell cell = table->cellAt(row, column);
    QTextTableCellFormat look = cell.format().toTableCellFormat();
    look.setBorder(kLineWidth);
    look.setBorderBrush(Qt::black);
    look.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    if (shaded) look.setBackground(kHeaderShade);
    cell.setFormat(look);
    QTextCursor cursor = cell.firstCursorPosition();
    QTextBlockFormat block;
    block.setAlignment(align);
    cursor.setBlockFormat(block);
    cursor.insertText(text);
}

}  // namespace

ReportTable::ReportTable(QPaintDevice* device, const QFont& font, double width)
    : device_(device), font_(font), width_(width) {}

void ReportTable::SetHeader(std::vector<std::vector<HeaderCell>> rows) {
    header_ = std::move(rows);
}

void ReportTable::SetColumns(std::vector<QTextLength> widths) {
    widths_ = std::move(widths);
}

void ReportTable::SetRows(std::vector<QStringList> rows) {
    rows_ = std::move(rows);
}

std::unique_ptr<QTextDocument> ReportTable::Layout(size_t first, size_t count) const {
    auto document = std::make_unique<QTextDocument>();
    document->documentLayout()->setPaintDevice(device_);
    document->setDefaultFont(font_);
    document->setDocumentMargin(0);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document->setDefaultTextOption(option);
    document->setTextWidth(width_);

    const int columns = int(widths_.size());
    const int headerRows = int(header_.size());
    QTextTableFormat format;
    format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    format.setBorder(kLineWidth);
    format.setBorderBrush(Qt::black);
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorderCollapse(true);
    format.setCellSpacing(0);
    format.setCellPadding(2);
    format.setMargin(0);
    format.setHeaderRowCount(headerRows);
    format.setColumnWidthConstraints(QList<QTextLength>(widths_.begin(), widths_.end()));
    QTextCursor cursor(document.get());
    // One edit: laid out once at its end, not after every cell.
    cursor.beginEditBlock();
    QTextTable* table = cursor.insertTable(headerRows + int(count), columns, format);

    // Header cells are placed past the cells spanned into their row.
    std::vector<std::vector<bool>> taken(size_t(headerRows),
                                         std::vector<bool>(size_t(columns), false));
    for (int r = 0; r < headerRows; ++r) {
        int c = 0;
        for (const HeaderCell& cell : header_[size_t(r)]) {
            while (c < columns && taken[size_t(r)][size_t(c)]) ++c;
            if (c >= columns) break;
            for (int dr = 0; dr < cell.rows && r + dr < headerRows; ++dr)
                for (int dc = 0; dc < cell.columns && c + dc < columns; ++dc)
                    taken[size_t(r + dr)][size_t(c + dc)] = true;
            table->mergeCells(r, c, cell.rows, cell.columns);
            Fill(table, r, c, cell.text, Qt::AlignCenter, true);
            c += cell.columns;
        }
    }
    for (size_t r = 0; r < count; ++r) {
        const QStringList& cells = rows_[first + r];
        for (int c = 0; c < columns && c < cells.size(); ++c)
            Fill(table, headerRows + int(r), c, cells[c],
                 c == 0 ? Qt::AlignLeft : Qt::AlignHCenter);
    }
    cursor.endEditBlock();
    return document;
}

size_t ReportTable::Fit(size_t first, double height) const {
    // The largest count that fits: a table's height grows with its rows, and
    // no row is lower than a line, so no more than a page of them is laid out.
    const double line = QFontMetricsF(font_, device_).height();
    size_t low = 0;
    size_t high = first < rows_.size() ? rows_.size() - first : 0;
    high = std::min(high, size_t(std::max(0.0, height / line)) + 1);
    while (low < high) {
        const size_t middle = (low + high + 1) / 2;
        if (Layout(first, middle)->size().height() <= height)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

double ReportTable::Draw(QPainter& painter, double x, double y, size_t first, size_t count) const {
    const std::unique_ptr<QTextDocument> document = Layout(first, count);
    painter.save();
    painter.translate(x, y);
    document->drawContents(&painter);
    painter.restore();
    return document->size().height();
}

}  // namespace orsan
