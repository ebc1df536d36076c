#include "SetShowDlg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "DialogUnits.h"
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
    const DialogUnits du(font());
    setFixedSize(du.Size(91, 171));
    for (int i = 0; i < kCurveCount; ++i) {
        const int y = 5 + 15 * i;
        auto* label = new QLabel(QString::fromUtf8(kLabels[i]), this);
        label->setGeometry(du.Rect(7, y + 1, 36, 8));
        auto* check = new QCheckBox(QStringLiteral("显示曲线"), this);
        check->setObjectName(QStringLiteral("id%1").arg(kFirstCheckId + i));
        check->setGeometry(du.Rect(45, y, 43, 10));
        checks_[i] = check;
    }
    setButton_ = new QPushButton(QStringLiteral("设置"), this);
    setButton_->setObjectName(QStringLiteral("id%1").arg(kSetId));
    setButton_->setGeometry(du.Rect(27, 155, 36, 13));
    setButton_->setAutoDefault(false);
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
