#pragma once

#include <QTableWidget>

class QTableView;

namespace orsan {

// A table whose first columns stay in view while the others scroll sideways
// beneath them: a second view of the same model and selection, showing only
// those columns, lies over the table's left edge. It follows the table's row
// heights, vertical scrolling, column widths and list behaviour.
class FrozenColumnTable : public QTableWidget {
    Q_OBJECT
public:
    FrozenColumnTable(int rows, int columns, int frozenColumns, QWidget* parent = nullptr);

    QTableView* FrozenView() const { return frozen_; }
    // Width of the frozen columns, in pixels.
    int FrozenWidth() const;

    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void updateGeometries() override;

private:
    // Copies what the table may have been given since into the frozen view.
    void Follow();
    void HideUnfrozenColumns();

    int frozenColumns_;
    QTableView* frozen_;
};

}  // namespace orsan
