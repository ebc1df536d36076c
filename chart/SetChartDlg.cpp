#include "SetChartDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ChartSettings.h"
#include "DialogUnits.h"
#include "EnterEscapeFilter.h"
#include "MessageDlg.h"

namespace orsan {

namespace {

struct FieldRow {
    int id;
    const char* label;
    const char* unit;
    int y;
};

const std::array<FieldRow, 5> kRows = {{{SetChartDlg::kTMinId, "温度最小值", "℃", 3},
                                        {SetChartDlg::kTMaxId, "温度最大值", "℃", 21},
                                        {SetChartDlg::kAMaxId, "加速度最大值", "m/ss", 39},
                                        {SetChartDlg::kVMaxId, "速度最大值", "mm/s", 57},
                                        {SetChartDlg::kDMaxId, "位移最大值", "um", 75}}};

float* FieldOf(TrendLimits& limits, int row) {
    float* fields[] = {&limits.TMin, &limits.TMax, &limits.AMax, &limits.VMax, &limits.DMax};
    return fields[row];
}

}  // namespace

SetChartDlg::SetChartDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("设置曲线坐标轴系数"));
    setFont(DialogFont());
    const DialogUnits du(font());
    setFixedSize(du.Size(115, 109));
    for (int row = 0; row < 5; ++row) {
        const FieldRow& r = kRows[row];
        auto* label = new QLabel(QString::fromUtf8(r.label), this);
        label->setGeometry(du.Rect(4, r.y + 2, 44, 8));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("id%1").arg(r.id));
        edit->setAlignment(Qt::AlignCenter);
        edit->setGeometry(du.Rect(49, r.y, 36, 13));
        edits_[row] = edit;
        auto* unit = new QLabel(QString::fromUtf8(r.unit), this);
        unit->setGeometry(du.Rect(89, r.y + 2, 24, 8));
    }
    setButton_ = new QPushButton(QStringLiteral("设置"), this);
    setButton_->setObjectName(QStringLiteral("id%1").arg(kSetId));
    setButton_->setGeometry(du.Rect(49, 93, 36, 13));
    setButton_->setAutoDefault(false);
    connect(setButton_, &QPushButton::clicked, this, &SetChartDlg::OnSet);
    ConsumeEnterEscape(this);
    SetLimits(limits_);
}

void SetChartDlg::SetLimits(const TrendLimits& limits) {
    limits_ = limits;
    for (int row = 0; row < 5; ++row) edits_[row]->setText(LimitText(*FieldOf(limits_, row)));
}

void SetChartDlg::OnSet() {
    TrendLimits entered = limits_;
    for (int row = 0; row < 5; ++row) {
        if (!ParseLimitText(edits_[row]->text(), FieldOf(entered, row))) {
            ShowMessage(
                QStringLiteral("“%1”请输入一个数字。").arg(QString::fromUtf8(kRows[row].label)));
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
