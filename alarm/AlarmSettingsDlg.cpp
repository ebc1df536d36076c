#include "AlarmSettingsDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "DialogUnits.h"
#include "EnterEscapeFilter.h"
#include "MessageDlg.h"
#include "SensorNames.h"

namespace orsan {

AlarmSettingsDlg::AlarmSettingsDlg(int sensor, const SensorAlarmSettings& settings, QWidget* parent)
    : QDialog(parent), sensor_(sensor), settings_(settings) {
    setFont(DialogFont());
    ConsumeEnterEscape(this);

    class_ = new QComboBox(this);
    for (const char* name : kMachineClasses) class_->addItem(QLatin1String(name));
    texts_.Add(class_,
               QT_TR_NOOP("1: 大型机器 300kW-50MW；2: 中型机器 15-300kW；R: 刚性支承；F: 柔性支承"),
               FixedTexts::Part::ToolTip);
    const auto edit = [this](const char* hint) {
        auto* e = new QLineEdit(this);
        if (hint) texts_.Add(e, hint, FixedTexts::Part::Placeholder);
        connect(e, &QLineEdit::textChanged, this, &AlarmSettingsDlg::UpdateSummary);
        return e;
    };
    zones_ = edit(QT_TR_NOOP("按类别，如 1.4,2.8,4.5"));
    baseline_ = edit(QT_TR_NOOP("无"));
    alarm_ = edit(QT_TR_NOOP("按规则"));
    trip_ = edit(QT_TR_NOOP("C/D边界"));
    delay_ = edit(nullptr);
    delay_->setPlaceholderText(QStringLiteral("3"));
    tempAlarm_ = edit(QT_TR_NOOP("无"));
    tempTrip_ = edit(QT_TR_NOOP("无"));
    summary_ = new QLabel(this);
    summary_->setWordWrap(true);

    auto* form = new QFormLayout;
    const auto row = [&](const char* caption, QWidget* field) {
        form->addRow(texts_.Text(new QLabel(this), caption), field);
    };
    row(QT_TR_NOOP("机器类别:"), class_);
    row(QT_TR_NOOP("分区边界 A/B,B/C,C/D (mm/s):"), zones_);
    row(QT_TR_NOOP("基线 BASELINE (mm/s):"), baseline_);
    row(QT_TR_NOOP("报警 ALARM (mm/s):"), alarm_);
    row(QT_TR_NOOP("停机 TRIP (mm/s):"), trip_);
    row(QT_TR_NOOP("延时 DELAY (s):"), delay_);
    row(QT_TR_NOOP("温度报警 TEMP_ALARM (℃):"), tempAlarm_);
    row(QT_TR_NOOP("温度停机 TEMP_TRIP (℃):"), tempTrip_);

    auto* ok = texts_.Text(new QPushButton(this), QT_TR_NOOP("确定"));
    auto* cancel = texts_.Text(new QPushButton(this), QT_TR_NOOP("取消"));
    ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    for (QPushButton* b : {ok, cancel}) b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &AlarmSettingsDlg::TryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(summary_);
    layout->addLayout(buttons);

    connect(class_, &QComboBox::currentTextChanged, this, &AlarmSettingsDlg::UpdateSummary);
    SetTexts(FormatAlarmTexts(settings));
    RetranslateTexts();
    setMinimumWidth(DialogUnits(font()).X(240));
}

void AlarmSettingsDlg::SetMachineName(const QString& name) {
    machineName_ = name;
    RetranslateTexts();
}

void AlarmSettingsDlg::RetranslateTexts() {
    // Plain concatenation: arg() would rewrite a "%1" inside the name.
    setWindowTitle(machineName_.isEmpty()
                       ? tr("传感器【%1】报警设置").arg(sensor_)
                       : SensorTitle(sensor_, machineName_) + QLatin1Char(' ') + tr("报警设置"));
    texts_.Retranslate();
    UpdateSummary();
}

void AlarmSettingsDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QDialog::changeEvent(event);
}

SensorAlarmTexts AlarmSettingsDlg::Texts() const {
    return {class_->currentText(), zones_->text(), baseline_->text(),  alarm_->text(),
            trip_->text(),         delay_->text(), tempAlarm_->text(), tempTrip_->text()};
}

void AlarmSettingsDlg::SetTexts(const SensorAlarmTexts& texts) {
    const int index = class_->findText(texts.machineClass.trimmed().toUpper());
    class_->setCurrentIndex(index >= 0 ? index : class_->findText(kDefaultMachineClass));
    zones_->setText(texts.zones);
    baseline_->setText(texts.baseline);
    alarm_->setText(texts.alarm);
    trip_->setText(texts.trip);
    delay_->setText(texts.delay);
    tempAlarm_->setText(texts.tempAlarm);
    tempTrip_->setText(texts.tempTrip);
}

void AlarmSettingsDlg::UpdateSummary() {
    QStringList problems;
    const AlarmLimits limits = ComputeAlarmLimits(ParseAlarmTexts(Texts(), &problems));
    QString text = tr("生效: 分区 %1 / %2 / %3 mm/s，报警 %4 mm/s，停机 %5 mm/s，延时 %6 s")
                       .arg(limits.zones.ab)
                       .arg(limits.zones.bc)
                       .arg(limits.zones.cd)
                       .arg(limits.alarm, 0, 'g', 4)
                       .arg(limits.trip, 0, 'g', 4)
                       .arg(limits.delaySeconds);
    if (limits.tempAlarm || limits.tempTrip) {
        const auto degrees = [this](const std::optional<double>& value) {
            return value ? tr("%1 ℃").arg(*value, 0, 'g', 4) : tr("无");
        };
        text +=
            QLatin1Char('\n') +
            tr("温度报警 %1，温度停机 %2").arg(degrees(limits.tempAlarm), degrees(limits.tempTrip));
    }
    if (!problems.isEmpty()) text += QLatin1Char('\n') + problems.join(QLatin1Char('\n'));
    summary_->setText(text);
}

bool AlarmSettingsDlg::TryAccept() {
    QStringList problems;
    const SensorAlarmSettings settings = ParseAlarmTexts(Texts(), &problems);
    if (!problems.isEmpty()) {
        ShowMessage(problems.join(QLatin1Char('\n')));
        return false;
    }
    settings_ = settings;
    accept();
    return true;
}

}  // namespace orsan
