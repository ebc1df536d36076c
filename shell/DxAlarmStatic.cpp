#include "DxAlarmStatic.h"

#include <QPainter>

namespace orsan {

DxAlarmStatic::DxAlarmStatic(QWidget* parent) : QWidget(parent) {}

void DxAlarmStatic::SetState(int state) {
    state_ = state;
    update();
}

void DxAlarmStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), IsIdle() ? kIdleColor : IsOn() ? kOnColor : kOffColor);
}

}  // namespace orsan
