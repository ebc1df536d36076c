#include "AlarmSettingsTableDlg.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <iterator>

#include "DialogUnits.h"
#include "DistinctElision.h"
#include "EnterEscapeFilter.h"
#include "MessageDlg.h"

namespace orsan {

AlarmSettingsTableDlg::AlarmSettingsTableDlg(const AllSettings& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setFont(DialogFont());
    ConsumeEnterEscape(this);

    auto* grid = new QGridLayout;
    const char* const headers[] = {
        QT_TR_NOOP("机器类别"),          QT_TR_NOOP("分区边界 A/B,B/C,C/D (mm/s)"),
        QT_TR_NOOP("报警 ALARM (mm/s)"), QT_TR_NOOP("停机 TRIP (mm/s)"),
        QT_TR_NOOP("延时 DELAY (s)"),    QT_TR_NOOP("温度报警 (℃)"),
        QT_TR_NOOP("温度停机 (℃)")};
    for (int c = 0; c < int(std::size(headers)); ++c)
        grid->addWidget(texts_.Text(new QLabel(this), headers[c]), 0, c + 1);
    const DialogUnits units(font());
    for (int n = 1; n <= kSensorCount; ++n) {
        Row& row = rows_[size_t(n - 1)];
        row.caption = new QLabel(this);
        row.machineClass = new QComboBox(this);
        for (const char* name : kMachineClasses) row.machineClass->addItem(QLatin1String(name));
        texts_.Add(
            row.machineClass,
            QT_TR_NOOP("1: 大型机器 300kW-50MW；2: 中型机器 15-300kW；R: 刚性支承；F: 柔性支承"),
            FixedTexts::Part::ToolTip);
        const auto edit = [&](const char* hint, int widthUnits) {
            auto* e = new QLineEdit(this);
            if (hint) texts_.Add(e, hint, FixedTexts::Part::Placeholder);
            e->setMinimumWidth(units.X(widthUnits));
            return e;
        };
        row.zones = edit(QT_TR_NOOP("按类别"), 70);
        row.alarm = edit(QT_TR_NOOP("按规则"), 40);
        row.trip = edit(QT_TR_NOOP("C/D边界"), 40);
        row.delay = edit(nullptr, 30);
        row.delay->setPlaceholderText(QStringLiteral("3"));
        row.tempAlarm = edit(QT_TR_NOOP("无"), 40);
        row.tempTrip = edit(QT_TR_NOOP("无"), 40);
        const QString prefix = QStringLiteral("row%1").arg(n);
        row.machineClass->setObjectName(prefix + QStringLiteral("Class"));
        row.zones->setObjectName(prefix + QStringLiteral("Zones"));
        row.alarm->setObjectName(prefix + QStringLiteral("Alarm"));
        row.trip->setObjectName(prefix + QStringLiteral("Trip"));
        row.delay->setObjectName(prefix + QStringLiteral("Delay"));
        row.tempAlarm->setObjectName(prefix + QStringLiteral("TempAlarm"));
        row.tempTrip->setObjectName(prefix + QStringLiteral("TempTrip"));
        QWidget* const cells[] = {row.caption, row.machineClass, row.zones,     row.alarm,
                                  row.trip,    row.delay,        row.tempAlarm, row.tempTrip};
        for (int c = 0; c < int(std::size(cells)); ++c) grid->addWidget(cells[c], n, c);
        SetTexts(n, FormatAlarmTexts(settings[size_t(n - 1)]));
    }

    auto* ok = texts_.Text(new QPushButton(this), QT_TR_NOOP("确定"));
    auto* cancel = texts_.Text(new QPushButton(this), QT_TR_NOOP("取消"));
    ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    for (QPushButton* b : {ok, cancel}) b->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &AlarmSettingsTableDlg::TryAccept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(
        texts_.Text(new QLabel(this), QT_TR_NOOP("空白为默认值；检查规则与 Alarm.ini 相同。")), 1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    RetranslateTexts();
}

void AlarmSettingsTableDlg::RetranslateTexts() {
    setWindowTitle(tr("报警设置（全部传感器）"));
    texts_.Retranslate();
    // A long name would widen the dialog past the screen.
    const int most = DialogUnits(font()).X(110);
    for (int n = 1; n <= kSensorCount; ++n) {
        QLabel* caption = rows_[size_t(n - 1)].caption;
        const QString& name = names_[size_t(n - 1)];
        if (name.isEmpty()) {
            caption->setText(SensorTabCaption(n, name));
        } else {
            const QString tag = QStringLiteral("%1# ").arg(n);
            const QFontMetrics metrics = caption->fontMetrics();
            caption->setText(
                tag + ElideMachineName(n, names_, metrics, most - metrics.horizontalAdvance(tag)));
        }
        caption->setToolTip(name);
    }
}

void AlarmSettingsTableDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QDialog::changeEvent(event);
}

void AlarmSettingsTableDlg::SetSensorNames(const SensorNames& names) {
    names_ = names;
    RetranslateTexts();
}

SensorAlarmTexts AlarmSettingsTableDlg::Texts(int sensor) const {
    const Row& row = rows_[size_t(sensor - 1)];
    return {row.machineClass->currentText(),
            row.zones->text(),
            row.baseline,
            row.alarm->text(),
            row.trip->text(),
            row.delay->text(),
            row.tempAlarm->text(),
            row.tempTrip->text()};
}

void AlarmSettingsTableDlg::SetTexts(int sensor, const SensorAlarmTexts& texts) {
    Row& row = rows_[size_t(sensor - 1)];
    const int index = row.machineClass->findText(texts.machineClass.trimmed().toUpper());
    row.machineClass->setCurrentIndex(
        index >= 0 ? index : row.machineClass->findText(kDefaultMachineClass));
    row.zones->setText(texts.zones);
    row.baseline = texts.baseline;
    row.alarm->setText(texts.alarm);
    row.trip->setText(texts.trip);
    row.delay->setText(texts.delay);
    row.tempAlarm->setText(texts.tempAlarm);
    row.tempTrip->setText(texts.tempTrip);
}

bool AlarmSettingsTableDlg::TryAccept() {
    QStringList problems;
    AllSettings accepted;
    for (int n = 1; n <= kSensorCount; ++n) {
        QStringList found;
        accepted[size_t(n - 1)] = ParseAlarmTexts(Texts(n), &found);
        for (const QString& problem : found)
            problems << SensorTabCaption(n, names_[size_t(n - 1)]) + QLatin1Char(' ') + problem;
    }
    if (!problems.isEmpty()) {
        ShowMessage(problems.join(QLatin1Char('\n')));
        return false;
    }
    settings_ = accepted;
    accept();
    return true;
}

}  // namespace orsan
