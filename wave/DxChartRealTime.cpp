#include "DxChartRealTime.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace orsan {

namespace {

constexpr float kWindowSeconds = 1.0f;

}  // namespace

DxChartRealTime::DxChartRealTime(QWidget* parent) : QWidget(parent) {
    for (auto& curve : content_.samples) curve.assign(kWindowSamples, 0.0f);
    content_.interval = 1.0f / float(kWindowSamples);
    content_.sampleCount = kWindowSamples;
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void DxChartRealTime::SetWaveData(const float* x, const float* y, const float* z, int n) {
    if (n <= 0 || n > kWindowSamples) return;
    const float* sources[kWaveCurveCount] = {x, y, z};
    for (int c = 0; c < kWaveCurveCount; ++c) {
        auto& curve = content_.samples[c];
        if (n < kWindowSamples) std::copy(curve.begin() + n, curve.end(), curve.begin());
        std::copy(sources[c], sources[c] + n, curve.end() - n);
    }
}

void DxChartRealTime::SetTimeOrigin(float seconds) {
    // Exact ends at home, so many small moves during a capture add no drift;
    // a zoomed range moves by the same amount.
    const bool atHome = view_.x.min == view_.homeX.min && view_.x.max == view_.homeX.max;
    const float shift = seconds - content_.origin;
    content_.origin = seconds;
    view_.homeX = {seconds, seconds + kWindowSeconds};
    if (atHome) {
        view_.x = view_.homeX;
    } else {
        view_.x.min += shift;
        view_.x.max += shift;
    }
}

void DxChartRealTime::SetCurveVisible(int curve, bool visible) {
    if (curve >= 0 && curve < kWaveCurveCount) content_.visible[curve] = visible;
}

void DxChartRealTime::LayOut() {
    layout_ = ChartLayout::Compute(width(), height());
    view_.cursorX = 60;
    surface_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    laidOut_ = true;
}

void DxChartRealTime::Redraw() {
    if (!laidOut_) return;
    RenderWaveChart(surface_, layout_, view_, content_, mode_);
    ++renderCount_;
    update();
}

void DxChartRealTime::paintEvent(QPaintEvent*) {
    if (!laidOut_) {
        LayOut();
        Redraw();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
    if (dragging_) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(dragStart_, dragEnd_).normalized());
    }
    DrawCursorReadout(painter, layout_, view_, content_);
}

void DxChartRealTime::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !laidOut_) return;
    const QPoint p = event->position().toPoint();
    if (layout_.plot.Contains(p.x(), p.y())) {
        dragStart_ = dragEnd_ = p;
        pressed_ = true;
    }
    if (layout_.widenBox.Contains(p.x(), p.y()) || layout_.narrowBox.Contains(p.x(), p.y()))
        boxPressed_ = true;
}

void DxChartRealTime::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() != Qt::LeftButton || event->modifiers() != Qt::NoModifier) return;
    const QPoint p = event->position().toPoint();
    if (pressed_ && layout_.plot.Contains(p.x(), p.y())) {
        dragEnd_ = p;
        dragging_ = true;
        update();
    }
}

void DxChartRealTime::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint p = event->position().toPoint();
    if (pressed_) {
        update();
        dragging_ = false;
        pressed_ = false;
        // A click only moves the cursor: the cached image stays as it is.
        const DragOutcome outcome =
            ApplyDrag(layout_, view_, dragStart_.x(), dragStart_.y(), dragEnd_.x(), dragEnd_.y());
        if (outcome == DragOutcome::Zoom || outcome == DragOutcome::Reset) Redraw();
    }
    if (boxPressed_) {
        boxPressed_ = false;
        if (ApplyBoxRelease(layout_, view_, p.x(), p.y()) != BoxOutcome::None) Redraw();
    }
}

}  // namespace orsan
