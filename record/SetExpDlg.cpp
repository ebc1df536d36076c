#include "SetExpDlg.h"

#include <QEvent>
#include <QPushButton>

#include "DialogControls.h"
#include "DistinctElision.h"
#include "EnterEscapeFilter.h"
#include "WindowFrame.h"

namespace orsan {

SetExpDlg::SetExpDlg(QWidget* parent) : QDialog(parent) {
    setModal(true);
    UseDialogFrame(this);
    setFont(DialogFont());
    const DialogControls ui(this);
    setFixedSize(ui.Units().Size(410, 37));
    for (int slot = 1; slot <= 6; ++slot) {
        QPushButton* button =
            ui.Button(kFirstButtonId + slot - 1, {}, 10 + 68 * (slot - 1), 11, 51, 16);
        buttons_[size_t(slot - 1)] = button;
        connect(button, &QPushButton::clicked, this, [this, slot] {
            selectedSensor_ = slot;
            accept();
        });
    }
    ConsumeEnterEscape(this);
    RetranslateTexts();
}

void SetExpDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
}

void SetExpDlg::SetSensorNames(const SensorNames& names) {
    names_ = names;
    RetranslateTexts();
}

void SetExpDlg::RetranslateTexts() {
    setWindowTitle(tr("导出指定传感器数据"));
    for (size_t i = 0; i < buttons_.size(); ++i) {
        QPushButton* button = buttons_[i];
        QString text = tr("传感器【%1】").arg(i + 1);
        const QString& name = names_[i];
        if (!name.isEmpty()) {
            const int room = button->width() - 2 * button->fontMetrics().averageCharWidth();
            text += QLatin1Char('\n') +
                    ElideMachineName(int(i + 1), names_, button->fontMetrics(), room);
        }
        button->setText(text);
        button->setToolTip(name);
    }
}

}  // namespace orsan
