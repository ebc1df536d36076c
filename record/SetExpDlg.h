#pragma once

#include <QDialog>
#include <array>

class QPushButton;

namespace orsan {

// "导出指定传感器数据": six buttons, one per sensor slot. A button press
// accepts with that slot; the close box cancels. Enter and Escape do nothing.
class SetExpDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFirstButtonId = 1081;  // 1081..1086 choose slots 1..6

    explicit SetExpDlg(QWidget* parent = nullptr);

    int SelectedSensor() const { return selectedSensor_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();

    int selectedSensor_ = 1;
    std::array<QPushButton*, 6> buttons_{};
};

}  // namespace orsan
