#include "FrequencyView.h"

#include <QMouseEvent>
#include <QPainter>

namespace orsan {

FrequencyView::FrequencyView(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void FrequencyView::SetSpectra(std::array<AmplitudeSpectrum, 3> spectra, const QString& title,
                               const QString& unit) {
    content_.Set(std::move(spectra), state_.scale);
    content_.title = title;
    content_.unit = unit;
    double top = 0;
    for (const AmplitudeSpectrum& s : content_.spectra)
        if (!s.amplitude.empty()) top = std::max(top, s.Frequency(s.amplitude.size() - 1));
    state_.homeX = {0, top > 0 ? top : 1};
    state_.x = state_.homeX;
    Rerender();
}

void FrequencyView::Clear(const QString& note) {
    content_ = SpectrumChartContent{};
    content_.note = note;
    state_.cursorHz.reset();
    Rerender();
}

void FrequencyView::SetScale(AmplitudeScale scale) {
    if (scale == state_.scale) return;
    state_.scale = scale;
    content_.Rescale(scale);
    Rerender();
}

void FrequencyView::SetHarmonics(bool on) {
    state_.harmonics = on;
    update();
}

void FrequencyView::SetRunningSpeed(double hz) {
    state_.runningSpeedHz = hz > 0 ? hz : 0;
    update();
}

void FrequencyView::SetCursorHz(double hz) {
    const auto cursor = CursorNear(content_.Triple(), hz, 0, state_.runningSpeedHz);
    if (cursor) state_.cursorHz = cursor->frequency;
    update();
    emit CursorMoved();
}

std::optional<SpectrumCursor> FrequencyView::Cursor() const {
    if (!state_.cursorHz) return std::nullopt;
    return CursorNear(content_.Triple(), *state_.cursorHz, 0, state_.runningSpeedHz);
}

void FrequencyView::Rerender() {
    state_.y = AmplitudeRange(content_.Triple(), state_.x, state_.scale);
    if (width() <= 0 || height() <= 0) return;
    if (surface_.size() != size()) surface_ = QImage(size(), QImage::Format_ARGB32_Premultiplied);
    RenderSpectrumChart(surface_, content_, state_);
    ++renderCount_;
    update();
}

QImage FrequencyView::Picture() {
    if (surface_.size() != size()) Rerender();
    QImage picture = surface_.copy();
    QPainter painter(&picture);
    DrawSpectrumOverlay(painter, Plot(), content_, state_);
    return picture;
}

void FrequencyView::resizeEvent(QResizeEvent*) {
    Rerender();
}

void FrequencyView::paintEvent(QPaintEvent*) {
    if (surface_.size() != size()) Rerender();
    QPainter painter(this);
    painter.drawImage(0, 0, surface_);
    DrawSpectrumOverlay(painter, Plot(), content_, state_);
    if (pressed_ && dragEnd_ != dragStart_) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        const ChartRect plot = Plot();
        painter.drawRect(QRect(QPoint(dragStart_.x(), plot.top), QPoint(dragEnd_.x(), plot.bottom))
                             .normalized());
    }
}

void FrequencyView::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !Plot().Contains(p.x(), p.y())) return;
    pressed_ = true;
    dragStart_ = dragEnd_ = p;
}

void FrequencyView::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_) return;
    const ChartRect plot = Plot();
    dragEnd_ = QPoint(std::clamp(event->position().toPoint().x(), plot.left, plot.right - 1),
                      dragStart_.y());
    update();
}

void FrequencyView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    pressed_ = false;
    const ChartRect plot = Plot();
    const int x1 = std::clamp(event->position().toPoint().x(), plot.left, plot.right - 1);
    const SpectrumDrag drag =
        ApplySpectrumDrag(plot, content_.Triple(), state_, dragStart_.x(), x1);
    if (drag == SpectrumDrag::Click) {
        update();
        emit CursorMoved();
    } else {
        Rerender();
    }
}

}  // namespace orsan
