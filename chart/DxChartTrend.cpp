#include "DxChartTrend.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace orsan {

DxChartTrend::DxChartTrend(QWidget* parent) : QWidget(parent) {
    // Every pixel comes from the off-screen image.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DxChartTrend::AppendSample(const SensorSample& sample, bool measured) {
    if (chart_.AppendSample(sample, measured)) update();
}

void DxChartTrend::ClearSamples() {
    chart_.ClearSamples();
    update();
}

int DxChartTrend::CopySamples(SensorSample* dest) const {
    return chart_.CopySamples(dest);
}

void DxChartTrend::SetCurveVisibility(const std::array<int, kCurveCount>& flags) {
    chart_.SetCurveVisibility(flags);
}

void DxChartTrend::Render() {
    if (chart_.Render()) update();
}

void DxChartTrend::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::LanguageChange) return;
    chart_.ForgetBackground();
    Render();
}

void DxChartTrend::EnsureImage() {
    if (!chart_.HasImage()) chart_.CreateImage(width(), height());
}

bool DxChartTrend::SavePicture(const QString& path, QString* error) const {
    return chart_.SavePicture(path, error);
}

void DxChartTrend::SetRedrawThrottle(int flag) {
    chart_.SetRedrawThrottle(flag);
}

void DxChartTrend::paintEvent(QPaintEvent*) {
    EnsureImage();
    QPainter painter(this);
    painter.drawImage(0, 0, chart_.Image());
    chart_.DrawReadout(painter);
}

void DxChartTrend::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) emit clicked();
    QWidget::mousePressEvent(event);
}

void DxChartTrend::mouseReleaseEvent(QMouseEvent* event) {
    // The cursor shows at the next paint: the owner repaints on the next
    // click, and every render repaints.
    if (event->button() == Qt::LeftButton) chart_.SetCursorFromClick(event->position().toPoint());
    QWidget::mouseReleaseEvent(event);
}

}  // namespace orsan
