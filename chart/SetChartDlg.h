#pragma once

#include <QDialog>
#include <array>

#include "FixedTexts.h"
#include "TrendGeometry.h"

class QLineEdit;
class QPushButton;

namespace orsan {

// "设置曲线坐标轴系数": the five axis limits. Button 1062 "设置" accepts when
// every field holds a number (otherwise a message names the field and the
// dialog stays open); the close box cancels; Enter and Escape do nothing.
class SetChartDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTMinId = 1063;
    static constexpr int kTMaxId = 1058;
    static constexpr int kAMaxId = 1059;
    static constexpr int kVMaxId = 1060;
    static constexpr int kDMaxId = 1061;
    static constexpr int kSetId = 1062;

    explicit SetChartDlg(QWidget* parent = nullptr);

    // Shown in the fields in general notation (80 -> "80").
    void SetLimits(const TrendLimits& limits);
    // The accepted values (all 0 before anything was set or accepted).
    const TrendLimits& Limits() const { return limits_; }

    QPushButton* SetButton() const { return setButton_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void OnSet();
    void RetranslateTexts();

    TrendLimits limits_{0, 0, 0, 0, 0};
    std::array<QLineEdit*, 5> edits_{};
    QPushButton* setButton_ = nullptr;
    FixedTexts texts_{this};
};

}  // namespace orsan
