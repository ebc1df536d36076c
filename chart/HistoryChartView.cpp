#include "HistoryChartView.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace orsan {

HistoryChartView::HistoryChartView(HistorySource& source, QWidget* parent)
    : QWidget(parent), chart_(source) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    chart_.SetSize(width(), height());
    reloadTimer_.setSingleShot(true);
    reloadTimer_.setInterval(150);
    connect(&reloadTimer_, &QTimer::timeout, this, &HistoryChartView::Reload);
}

void HistoryChartView::Reload() {
    reloadTimer_.stop();
    QString error;
    const bool ok = chart_.Reload(&error) || error.isEmpty();
    Report(ok, error);
}

void HistoryChartView::Report(bool ok, const QString& error) {
    update();
    emit changed();
    if (!ok) emit failed(error);
}

void HistoryChartView::Show(double from, double to) {
    reloadTimer_.stop();
    // A hidden view is laid out before its resize event comes: read at the
    // size it has, not the one it last heard of.
    chart_.SetSize(width(), height());
    QString error;
    const bool ok = chart_.Show(from, to, &error);
    Report(ok, error);
}

void HistoryChartView::ZoomOut() {
    QString error;
    if (!chart_.CanZoomOut()) return;
    const bool ok = chart_.ZoomOut(&error);
    Report(ok, error);
}

void HistoryChartView::Render() {
    chart_.Render();
    update();
}

void HistoryChartView::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) Render();
}

void HistoryChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kChartBackground);
    painter.drawImage(0, 0, chart_.Image());
    chart_.DrawReadout(painter);
    if (dragStart_) {
        const EdgeRect& plot = chart_.Layout().plotRect;
        const QRect band(QPoint(std::min(dragStart_->x(), dragNow_.x()), plot.top),
                         QPoint(std::max(dragStart_->x(), dragNow_.x()), plot.bottom));
        painter.fillRect(band, QColor(0, 0, 255, 40));
        painter.setPen(QPen(kReadoutColor, 1.0, Qt::DashLine));
        painter.drawRect(band);
    }
}

void HistoryChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const TrendLayout before = chart_.Layout();
    chart_.SetSize(width(), height());
    // The event held back until it is shown may bring the size it was read at.
    if (chart_.Layout().width == before.width && chart_.Layout().height == before.height) return;
    // The size it is shown at comes before it is visible: drawn at once, not
    // at its first size for a moment. Resizes after that wait for a pause.
    if (isVisible())
        reloadTimer_.start();
    else
        Reload();
}

void HistoryChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton &&
        chart_.Layout().plotRect.Contains(event->position().toPoint())) {
        dragStart_ = event->position().toPoint();
        dragNow_ = *dragStart_;
    }
    QWidget::mousePressEvent(event);
}

void HistoryChartView::mouseMoveEvent(QMouseEvent* event) {
    if (dragStart_) {
        dragNow_ = event->position().toPoint();
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void HistoryChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseReleaseEvent(event);
    const QPoint at = event->position().toPoint();
    QString error;
    bool ok = true;
    if (dragStart_ && std::abs(at.x() - dragStart_->x()) >= 3)
        ok = chart_.ZoomToPixels(dragStart_->x(), at.x(), &error);
    else
        ok = chart_.ReadoutAt(at, &error);
    dragStart_.reset();
    Report(ok, error);
    QWidget::mouseReleaseEvent(event);
}

}  // namespace orsan
