#pragma once

#include <QDialog>
#include <array>

#include "SensorNames.h"

class QPushButton;

namespace orsan {

// "导出指定传感器数据": six buttons, one per sensor slot, each with its
// machine's name under the slot's caption. A button press accepts with that
// slot; the close box cancels. Enter and Escape do nothing.
class SetExpDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFirstButtonId = 1081;  // 1081..1086 choose slots 1..6

    explicit SetExpDlg(QWidget* parent = nullptr);

    // A name too long for its button is cut so no two read alike; the whole
    // name is the button's tool tip.
    void SetSensorNames(const SensorNames& names);

    int SelectedSensor() const { return selectedSensor_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();

    int selectedSensor_ = 1;
    SensorNames names_;
    std::array<QPushButton*, 6> buttons_{};
};

}  // namespace orsan
