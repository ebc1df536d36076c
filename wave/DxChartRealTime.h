#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

#include "WaveChartMath.h"
#include "WaveChartRenderer.h"

namespace orsan {

// One second of tri-axis acceleration: three curves over a time axis, with a
// dashed grid, the "+"/"-" range boxes, drag zoom and a click cursor. The
// curves are rendered into a cached image only when data or ranges change;
// a paint copies that image and draws the cursor and drag rectangle on top.
class DxChartRealTime : public QWidget {
    Q_OBJECT
public:
    static constexpr int kWindowSamples = kWaveWindowSamples;

    explicit DxChartRealTime(QWidget* parent = nullptr);

    // 0 < n < 26667: the window scrolls by n and the new samples fill its end.
    // n == 26667: the window is replaced. Anything else is ignored.
    void SetWaveData(const float* x, const float* y, const float* z, int n);

    // The time of the window's first sample (s), which the time axis and the
    // cursor show: the shown and home time ranges move along with it.
    void SetTimeOrigin(float seconds);

    // Renders into the cached image and schedules a paint; nothing before the
    // first paint has fixed the layout.
    void Redraw();

    void SetCurveVisible(int curve, bool visible);
    // Aggregation of the curves; Auto unless a caller compares the modes.
    void SetCurveMode(CurveMode mode) { mode_ = mode; }

    const ChartView& View() const { return view_; }
    const ChartLayout& Layout() const { return layout_; }
    bool IsLaidOut() const { return laidOut_; }
    const WaveChartContent& Content() const { return content_; }
    const QImage& Surface() const { return surface_; }
    // Number of times the curves were rendered into the cached image.
    int RenderCount() const { return renderCount_; }
    bool IsDragging() const { return dragging_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void LayOut();

    WaveChartContent content_;
    ChartView view_;
    ChartLayout layout_;
    bool laidOut_ = false;
    CurveMode mode_ = CurveMode::Auto;
    QImage surface_;
    int renderCount_ = 0;
    bool pressed_ = false;
    bool boxPressed_ = false;
    bool dragging_ = false;
    QPoint dragStart_;
    QPoint dragEnd_;
};

}  // namespace orsan
