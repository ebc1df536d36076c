#include "FrozenColumnTable.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <algorithm>

namespace orsan {

FrozenColumnTable::FrozenColumnTable(int rows, int columns, int frozenColumns, QWidget* parent)
    : QTableWidget(rows, columns, parent),
      frozenColumns_(frozenColumns),
      frozen_(new QTableView(this)) {
    frozen_->setObjectName(QStringLiteral("frozenColumns"));
    frozen_->setModel(model());
    frozen_->setSelectionModel(selectionModel());
    frozen_->setFocusPolicy(Qt::NoFocus);
    frozen_->setFrameShape(QFrame::NoFrame);
    frozen_->verticalHeader()->hide();
    frozen_->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    frozen_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    frozen_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The scrolled columns slide under the frozen ones a pixel at a time.
    setHorizontalScrollMode(ScrollPerPixel);
    setVerticalScrollMode(ScrollPerPixel);
    frozen_->setVerticalScrollMode(ScrollPerPixel);
    viewport()->stackUnder(frozen_);
    HideUnfrozenColumns();
    connect(model(), &QAbstractItemModel::columnsInserted, this,
            &FrozenColumnTable::HideUnfrozenColumns);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int size) {
                if (column >= frozenColumns_) return;
                frozen_->setColumnWidth(column, size);
                Follow();
            });
    connect(verticalHeader(), &QHeaderView::sectionResized, this,
            [this](int row, int, int size) { frozen_->setRowHeight(row, size); });
    connect(verticalScrollBar(), &QAbstractSlider::valueChanged, frozen_->verticalScrollBar(),
            &QAbstractSlider::setValue);
    connect(frozen_->verticalScrollBar(), &QAbstractSlider::valueChanged, verticalScrollBar(),
            &QAbstractSlider::setValue);
    Follow();
}

void FrozenColumnTable::HideUnfrozenColumns() {
    for (int c = 0; c < model()->columnCount(); ++c) {
        frozen_->setColumnHidden(c, c >= frozenColumns_);
        if (c < frozenColumns_) frozen_->setColumnWidth(c, columnWidth(c));
    }
}

int FrozenColumnTable::FrozenWidth() const {
    int width = 0;
    for (int c = 0; c < std::min(frozenColumns_, model()->columnCount()); ++c)
        width += columnWidth(c);
    return width;
}

void FrozenColumnTable::Follow() {
    frozen_->setSelectionBehavior(selectionBehavior());
    frozen_->setSelectionMode(selectionMode());
    frozen_->setEditTriggers(editTriggers());
    frozen_->setShowGrid(showGrid());
    frozen_->setWordWrap(wordWrap());
    QHeaderView* rows = frozen_->verticalHeader();
    if (rows->minimumSectionSize() != verticalHeader()->minimumSectionSize())
        rows->setMinimumSectionSize(verticalHeader()->minimumSectionSize());
    if (rows->defaultSectionSize() != verticalHeader()->defaultSectionSize())
        rows->setDefaultSectionSize(verticalHeader()->defaultSectionSize());
    if (frozen_->horizontalHeader()->height() != horizontalHeader()->height())
        frozen_->horizontalHeader()->setFixedHeight(horizontalHeader()->height());
    frozen_->setGeometry(verticalHeader()->width() + frameWidth(), frameWidth(), FrozenWidth(),
                         viewport()->height() + horizontalHeader()->height());
    frozen_->verticalScrollBar()->setValue(verticalScrollBar()->value());
}

void FrozenColumnTable::scrollTo(const QModelIndex& index, ScrollHint hint) {
    if (!index.isValid()) return;
    if (index.column() < frozenColumns_) {
        // A frozen cell is always in sideways view: scroll only up or down.
        const int sideways = horizontalScrollBar()->value();
        QTableWidget::scrollTo(index, hint);
        horizontalScrollBar()->setValue(sideways);
        return;
    }
    QTableWidget::scrollTo(index, hint);
    // Not left of the frozen columns, where it would lie hidden beneath them.
    const int hidden = FrozenWidth() - visualRect(index).left();
    if (hidden > 0) horizontalScrollBar()->setValue(horizontalScrollBar()->value() - hidden);
}

void FrozenColumnTable::showEvent(QShowEvent* event) {
    QTableWidget::showEvent(event);
    Follow();
}

void FrozenColumnTable::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    Follow();
}

void FrozenColumnTable::updateGeometries() {
    QTableWidget::updateGeometries();
    Follow();
}

}  // namespace orsan
