#include "SetExpDlg.h"

#include <QPushButton>

#include "DialogUnits.h"
#include "EnterEscapeFilter.h"
#include "WindowFrame.h"

namespace orsan {

SetExpDlg::SetExpDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("导出指定传感器数据"));
    setModal(true);
    UseDialogFrame(this);
    setFont(DialogFont());
    const DialogUnits units(font());
    setFixedSize(units.Size(410, 37));
    for (int slot = 1; slot <= 6; ++slot) {
        auto* button = new QPushButton(QStringLiteral("传感器【%1】").arg(slot), this);
        button->setObjectName(QStringLiteral("id%1").arg(kFirstButtonId + slot - 1));
        button->setAutoDefault(false);
        button->setGeometry(units.Rect(10 + 68 * (slot - 1), 11, 51, 16));
        connect(button, &QPushButton::clicked, this, [this, slot] {
            selectedSensor_ = slot;
            accept();
        });
    }
    ConsumeEnterEscape(this);
}

}  // namespace orsan
