#include "DXPNGCTL.h"

#include <QImage>
#include <QPainter>

namespace orsan {

DXPNGCTL::DXPNGCTL(QWidget* parent) : QWidget(parent) {}

void DXPNGCTL::SetImagePath(const QString& path) {
    imagePath_ = path;
    if (QWidget* parent = parentWidget()) parent->update(geometry());
    update();
}

void DXPNGCTL::paintEvent(QPaintEvent*) {
    QImage picture(imagePath_);
    if (picture.isNull()) return;  // missing or undecodable: leave the background
    QPainter painter(this);
    painter.drawImage(rect(), picture);
}

}  // namespace orsan
