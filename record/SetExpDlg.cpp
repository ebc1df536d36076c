#include "SetExpDlg.h"

#include <QPushButton>

#include "DialogControls.h"
#include "EnterEscapeFilter.h"
#include "WindowFrame.h"

namespace orsan {

SetExpDlg::SetExpDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("导出指定传感器数据"));
    setModal(true);
    UseDialogFrame(this);
    setFont(DialogFont());
    const DialogControls ui(this);
    setFixedSize(ui.Units().Size(410, 37));
    for (int slot = 1; slot <= 6; ++slot) {
        QPushButton* button =
            ui.Button(kFirstButtonId + slot - 1, QStringLiteral("传感器【%1】").arg(slot),
                      10 + 68 * (slot - 1), 11, 51, 16);
        connect(button, &QPushButton::clicked, this, [this, slot] {
            selectedSensor_ = slot;
            accept();
        });
    }
    ConsumeEnterEscape(this);
}

}  // namespace orsan
