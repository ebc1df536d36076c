#include "SetShowDlg.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include "DialogControls.h"
#include "EnterEscapeFilter.h"
#include "WindowFrame.h"

namespace orsan {

SetShowDlg::SetShowDlg(QWidget* parent) : QDialog(parent) {
    static const char* const kLabels[kCurveCount] = {
        QT_TR_NOOP("温度"),  QT_TR_NOOP("加速度X"), QT_TR_NOOP("加速度Y"), QT_TR_NOOP("加速度Z"),
        QT_TR_NOOP("速度X"), QT_TR_NOOP("速度Y"),   QT_TR_NOOP("速度Z"),   QT_TR_NOOP("位移X"),
        QT_TR_NOOP("位移Y"), QT_TR_NOOP("位移Z")};
    UseDialogFrame(this);
    setFont(DialogFont());
    const DialogControls ui(this);
    setFixedSize(ui.Units().Size(91, 171));
    for (int i = 0; i < kCurveCount; ++i) {
        const int y = 5 + 15 * i;
        texts_.Set(ui.Label(QString(), 7, y + 1, 36, 8), kLabels[i]);
        checks_[i] = texts_.Set(ui.Place(new QCheckBox(this), 45, y, 43, 10, kFirstCheckId + i),
                                QT_TR_NOOP("显示曲线"));
    }
    setButton_ = texts_.Set(ui.Button(kSetId, {}, 27, 155, 36, 13), QT_TR_NOOP("设置"));
    connect(setButton_, &QPushButton::clicked, this, [this] {
        for (int i = 0; i < kCurveCount; ++i) showFlags_[i] = checks_[i]->isChecked() ? 1 : 0;
        accept();
    });
    ConsumeEnterEscape(this);
    RetranslateTexts();
}

void SetShowDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
}

void SetShowDlg::RetranslateTexts() {
    setWindowTitle(tr("曲线显示设置"));
    texts_.Retranslate();
}

void SetShowDlg::SetShowFlags(const Flags& flags) {
    showFlags_ = flags;
    for (int i = 0; i < kCurveCount; ++i) checks_[i]->setChecked(flags[i] != 0);
}

}  // namespace orsan
