#pragma once

#include <QColor>
#include <QWidget>

namespace orsan {

// Status lamp: the whole rectangle in yellow when on, dark green when off,
// grey when idle (what it shows is not being watched just now, which is
// neither a success nor a failure).
class DxAlarmStatic : public QWidget {
    Q_OBJECT
public:
    static inline const QColor kOnColor{255, 255, 0};
    static inline const QColor kOffColor{0, 128, 0};
    static inline const QColor kIdleColor{160, 160, 160};
    static constexpr int kIdleState = -1;

    explicit DxAlarmStatic(QWidget* parent = nullptr);

    // 0 = off, kIdleState = idle, anything else = on. Repaints even when the
    // value is unchanged.
    void SetState(int state);
    int State() const { return state_; }
    bool IsOn() const { return state_ != 0 && !IsIdle(); }
    bool IsIdle() const { return state_ == kIdleState; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int state_ = 0;
};

}  // namespace orsan
