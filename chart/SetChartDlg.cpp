#include "SetChartDlg.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ChartSettings.h"
#include "DialogControls.h"
#include "EnterEscapeFilter.h"
#include "MessageDlg.h"
#include "WindowFrame.h"

namespace orsan {

namespace {

struct FieldRow {
    int id;
    const char* label;
    const char* unit;
    int y;
};

const std::array<FieldRow, 5> kRows = {
    {{SetChartDlg::kTMinId, QT_TRANSLATE_NOOP("orsan::SetChartDlg", "温度最小值"), "℃", 3},
     {SetChartDlg::kTMaxId, QT_TRANSLATE_NOOP("orsan::SetChartDlg", "温度最大值"), "℃", 21},
     {SetChartDlg::kAMaxId, QT_TRANSLATE_NOOP("orsan::SetChartDlg", "加速度最大值"), "m/ss", 39},
     {SetChartDlg::kVMaxId, QT_TRANSLATE_NOOP("orsan::SetChartDlg", "速度最大值"), "mm/s", 57},
     {SetChartDlg::kDMaxId, QT_TRANSLATE_NOOP("orsan::SetChartDlg", "位移最大值"), "um", 75}}};

float* FieldOf(TrendLimits& limits, int row) {
    float* fields[] = {&limits.TMin, &limits.TMax, &limits.AMax, &limits.VMax, &limits.DMax};
    return fields[row];
}

}  // namespace

SetChartDlg::SetChartDlg(QWidget* parent) : QDialog(parent) {
    UseDialogFrame(this);
    setFont(DialogFont());
    const DialogControls ui(this);
    setFixedSize(ui.Units().Size(115, 109));
    for (int row = 0; row < 5; ++row) {
        const FieldRow& r = kRows[row];
        texts_.Set(ui.Label(QString(), 4, r.y + 2, 44, 8), r.label);
        edits_[row] = ui.Place(new QLineEdit(this), 49, r.y, 36, 13, r.id);
        edits_[row]->setAlignment(Qt::AlignCenter);
        ui.Label(QString::fromUtf8(r.unit), 89, r.y + 2, 24, 8);
    }
    setButton_ = texts_.Set(ui.Button(kSetId, {}, 49, 93, 36, 13), QT_TR_NOOP("设置"));
    connect(setButton_, &QPushButton::clicked, this, &SetChartDlg::OnSet);
    ConsumeEnterEscape(this);
    SetLimits(limits_);
    RetranslateTexts();
}

void SetChartDlg::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
}

void SetChartDlg::RetranslateTexts() {
    setWindowTitle(tr("设置曲线坐标轴系数"));
    texts_.Retranslate();
}

void SetChartDlg::SetLimits(const TrendLimits& limits) {
    limits_ = limits;
    for (int row = 0; row < 5; ++row) edits_[row]->setText(LimitText(*FieldOf(limits_, row)));
}

void SetChartDlg::OnSet() {
    TrendLimits entered = limits_;
    for (int row = 0; row < 5; ++row) {
        if (!ParseLimitText(edits_[row]->text(), FieldOf(entered, row))) {
            ShowMessage(tr("“%1”请输入一个数字。").arg(tr(kRows[row].label)));
            edits_[row]->setFocus();
            edits_[row]->selectAll();
            return;
        }
    }
    if (const auto problem = CheckChartLimits(entered)) {
        ShowMessage(problem->message);
        edits_[problem->field]->setFocus();
        edits_[problem->field]->selectAll();
        return;
    }
    limits_ = entered;
    accept();
}

}  // namespace orsan
