#pragma once

#include <QDialog>
#include <array>

#include "AlarmSettings.h"
#include "FixedTexts.h"
#include "LiveValues.h"
#include "SensorNames.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace orsan {

// The alarm settings of every machine in one dialog, a row per sensor:
// machine class, zone boundaries, ALARM, TRIP and DELAY (a BASELINE set in
// Alarm.ini is kept). Checked as Alarm.ini is: "确定" with a refused value
// names the sensor and the value and keeps the dialog open. Empty fields
// mean the defaults. The owner saves and applies Settings() after exec.
class AlarmSettingsTableDlg : public QDialog {
    Q_OBJECT
public:
    using AllSettings = std::array<SensorAlarmSettings, kSensorCount>;

    explicit AlarmSettingsTableDlg(const AllSettings& settings, QWidget* parent = nullptr);

    // The rows' captions: "传感器【n】", or "n# <name>" with the machine's
    // name, cut so no two read alike, whole in its tool tip.
    void SetSensorNames(const SensorNames& names);
    QLabel* Caption(int sensor) const { return rows_[size_t(sensor - 1)].caption; }

    // The texts of a row (1..6), as entered.
    SensorAlarmTexts Texts(int sensor) const;
    void SetTexts(int sensor, const SensorAlarmTexts& texts);
    // The accepted settings (valid after "确定").
    const AllSettings& Settings() const { return settings_; }

    // "确定": accepts only what Alarm.ini would accept; otherwise shows the
    // refusals and returns false.
    bool TryAccept();

    QComboBox* ClassBox(int sensor) const { return rows_[size_t(sensor - 1)].machineClass; }
    QLineEdit* ZonesEdit(int sensor) const { return rows_[size_t(sensor - 1)].zones; }
    QLineEdit* AlarmEdit(int sensor) const { return rows_[size_t(sensor - 1)].alarm; }
    QLineEdit* TripEdit(int sensor) const { return rows_[size_t(sensor - 1)].trip; }
    QLineEdit* DelayEdit(int sensor) const { return rows_[size_t(sensor - 1)].delay; }
    QLineEdit* TempAlarmEdit(int sensor) const { return rows_[size_t(sensor - 1)].tempAlarm; }
    QLineEdit* TempTripEdit(int sensor) const { return rows_[size_t(sensor - 1)].tempTrip; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();

    struct Row {
        QLabel* caption = nullptr;
        QComboBox* machineClass = nullptr;
        QLineEdit* zones = nullptr;
        QLineEdit* alarm = nullptr;
        QLineEdit* trip = nullptr;
        QLineEdit* delay = nullptr;
        QLineEdit* tempAlarm = nullptr;
        QLineEdit* tempTrip = nullptr;
        QString baseline;  // not shown, kept
    };

    AllSettings settings_;
    SensorNames names_;
    FixedTexts texts_{this};
    std::array<Row, kSensorCount> rows_;
};

}  // namespace orsan
