#pragma once

#include <QFont>
#include <QStringList>
#include <QTextLength>
#include <memory>
#include <vector>

class QPaintDevice;
class QPainter;
class QTextDocument;

namespace orsan {

// A table of the daily report laid out by Qt's text document: columns take
// the width their texts need, and a text too long for its column wraps
// (between words where it can, anywhere else) instead of being cut.
class ReportTable {
public:
    // A header cell spanning `columns` columns and `rows` header rows.
    struct HeaderCell {
        QString text;
        int columns = 1;
        int rows = 1;
    };

    // device: the page the table is drawn on, whose font metrics lay it out.
    ReportTable(QPaintDevice* device, const QFont& font, double width);

    // Header rows, cells from left to right; a cell covered by a span from
    // above is left out of its row.
    void SetHeader(std::vector<std::vector<HeaderCell>> rows);
    // Column widths (QTextLength::VariableLength leaves one to its texts);
    // also sets the column count. The first column is left aligned, the
    // others centred.
    void SetColumns(std::vector<QTextLength> widths);
    // Body rows; a cell's "\n" starts a new line in it.
    void SetRows(std::vector<QStringList> rows);
    size_t RowCount() const { return rows_.size(); }

    // How many rows from `first` fit with the header into `height`; 0 when
    // not even one does.
    size_t Fit(size_t first, double height) const;
    // Draws the header and `count` rows from `first` with its top left
    // corner at (x, y); returns its height.
    double Draw(QPainter& painter, double x, double y, size_t first, size_t count) const;

private:
    std::unique_ptr<QTextDocument> Layout(size_t first, size_t count) const;

    QPaintDevice* device_;
    QFont font_;
    double width_;
    std::vector<std::vector<HeaderCell>> header_;
    std::vector<QTextLength> widths_;
    std::vector<QStringList> rows_;
};

}  // namespace orsan
