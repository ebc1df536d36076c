#include "DialogControls.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "Resources.h"

namespace orsan {

QString ControlName(int id) {
    return QStringLiteral("id%1").arg(id);
}

DialogControls::DialogControls(QWidget* owner) : owner_(owner), units_(owner->font()) {}

void DialogControls::PlaceWidget(QWidget* widget, int x, int y, int width, int height,
                                 int id) const {
    widget->setGeometry(units_.Rect(x, y, width, height));
    if (id != 0) widget->setObjectName(ControlName(id));
}

QLabel* DialogControls::Label(const QString& text, int x, int y, int width, int height,
                              Qt::Alignment align, int id) const {
    auto* label = new QLabel(text, owner_);
    label->setAlignment(align);
    return Place(label, x, y, width, height, id);
}

QPushButton* DialogControls::Button(int id, const QString& caption, int x, int y, int width,
                                    int height) const {
    auto* button = new QPushButton(caption, owner_);
    // Only a click presses a button; Enter on a focused button must not.
    button->setAutoDefault(false);
    button->setDefault(false);
    return Place(button, x, y, width, height, id);
}

QPushButton* DialogControls::IconButton(int id, const QString& caption, int iconId,
                                        const QString& tip, int x, int y, int width,
                                        int height) const {
    QPushButton* button = Button(id, caption, x, y, width, height);
    button->setIcon(ResourceIcon(iconId));
    button->setIconSize(QSize(16, 16));
    button->setToolTip(tip);
    return button;
}

QGroupBox* DialogControls::Group(const QString& title, int x, int y, int width, int height) const {
    return Place(new QGroupBox(title, owner_), x, y, width, height);
}

}  // namespace orsan
