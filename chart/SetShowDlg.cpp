#include "SetShowDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "DialogControls.h"
#include "EnterEscapeFilter.h"
#include "WindowFrame.h"

namespace orsan {

SetShowDlg::SetShowDlg(QWidget* parent) : QDialog(parent) {
    static const char* const kLabels[kCurveCount] = {"温度",  "加速度X", "加速度Y", "加速度Z",
                                                     "速度X", "速度Y",   "速度Z",   "位移X",
                                                     "位移Y", "位移Z"};
    setWindowTitle(QStringLiteral("曲线显示设置"));
    UseDialogFrame(this);
    setFont(DialogFont());
    const DialogControls ui(this);
    setFixedSize(ui.Units().Size(91, 171));
    for (int i = 0; i < kCurveCount; ++i) {
        const int y = 5 + 15 * i;
        ui.Label(QString::fromUtf8(kLabels[i]), 7, y + 1, 36, 8);
        checks_[i] = ui.Place(new QCheckBox(QStringLiteral("显示曲线"), this), 45, y, 43, 10,
                              kFirstCheckId + i);
    }
    setButton_ = ui.Button(kSetId, QStringLiteral("设置"), 27, 155, 36, 13);
    connect(setButton_, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < kCurveCount; ++i) showFlags_[i] = checks_[i]->isChecked() ? 1 : 0;
        accept();
    });
    ConsumeEnterEscape(this);
}

void SetShowDlg::SetShowFlags(const Flags& flags) {
    showFlags_ = flags;
    for (int i = 0; i < kCurveCount; ++i) checks_[i]->setChecked(flags[i] != 0);
}

}  // namespace orsan
