#pragma once

#include <QDialog>
#include <array>

#include "FixedTexts.h"
#include "TrendStyle.h"

class QCheckBox;
class QPushButton;

namespace orsan {

// "曲线显示设置": one "显示曲线" check box per curve (ids 1082..1091 for
// SHOW0..SHOW9). Button 1062 "设置" accepts; the close box cancels; Enter
// and Escape do nothing.
class SetShowDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFirstCheckId = 1082;
    static constexpr int kSetId = 1062;
    using Flags = std::array<int, kCurveCount>;

    explicit SetShowDlg(QWidget* parent = nullptr);

    // Any nonzero flag shows as checked.
    void SetShowFlags(const Flags& flags);
    // Accepted flags: 1 checked, 0 not (all 0 before anything was set).
    const Flags& ShowFlags() const { return showFlags_; }

    QCheckBox* CheckBox(int curve) const { return checks_[curve]; }
    QPushButton* SetButton() const { return setButton_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();

    Flags showFlags_{};
    std::array<QCheckBox*, kCurveCount> checks_{};
    QPushButton* setButton_ = nullptr;
    FixedTexts texts_{this};
};

}  // namespace orsan
