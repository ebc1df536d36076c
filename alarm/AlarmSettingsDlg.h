#pragma once

#include <QDialog>

#include "AlarmSettings.h"
#include "FixedTexts.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace orsan {

// One sensor's machine class and limits, checked as Alarm.ini is: "确定"
// with a refused value shows why and keeps the dialog open. Empty fields
// mean the defaults. The owner saves and applies Settings() after exec.
class AlarmSettingsDlg : public QDialog {
    Q_OBJECT
public:
    AlarmSettingsDlg(int sensor, const SensorAlarmSettings& settings, QWidget* parent = nullptr);

    // The texts as entered.
    SensorAlarmTexts Texts() const;
    void SetTexts(const SensorAlarmTexts& texts);
    // The machine the sensor sits on, named in the title (empty: none).
    void SetMachineName(const QString& name);
    // The accepted settings (valid after "确定").
    const SensorAlarmSettings& Settings() const { return settings_; }

    // "确定": accepts only what Alarm.ini would accept; otherwise shows the
    // refusals and returns false.
    bool TryAccept();

    QComboBox* ClassBox() const { return class_; }
    QLineEdit* ZonesEdit() const { return zones_; }
    QLineEdit* BaselineEdit() const { return baseline_; }
    QLineEdit* AlarmEdit() const { return alarm_; }
    QLineEdit* TripEdit() const { return trip_; }
    QLineEdit* DelayEdit() const { return delay_; }
    QLineEdit* TempAlarmEdit() const { return tempAlarm_; }
    QLineEdit* TempTripEdit() const { return tempTrip_; }
    QLabel* Summary() const { return summary_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();
    void UpdateSummary();

    int sensor_;
    QString machineName_;
    SensorAlarmSettings settings_;
    FixedTexts texts_{this};
    QComboBox* class_;
    QLineEdit* zones_;
    QLineEdit* baseline_;
    QLineEdit* alarm_;
    QLineEdit* trip_;
    QLineEdit* delay_;
    QLineEdit* tempAlarm_;
    QLineEdit* tempTrip_;
    QLabel* summary_;
};

}  // namespace orsan
