#pragma once

#include <QWidget>
#include <array>

#include "TrendChart.h"

namespace orsan {

// The trend chart control of a monitoring panel: a thin window around
// TrendChart. Painting copies the off-screen image and draws the readout;
// the image is redrawn only on append, clear and Render.
class DxChartTrend : public QWidget {
    Q_OBJECT
public:
    explicit DxChartTrend(QWidget* parent = nullptr);

    // Adds a sample and redraws (every third one while the throttle is on
    // and the history is not full); an unmeasured sample breaks the curves.
    void AppendSample(const SensorSample& sample, bool measured = true);
    // Recorded samples, oldest first, drawn once.
    void Prefill(const std::vector<TrendPoint>& points) {
        chart_.Prefill(points);
        update();
    }
    // Empties the history and redraws.
    void ClearSamples();
    // Copies the held samples, oldest first, into dest (room for 1800).
    int CopySamples(SensorSample* dest) const;
    // Ten flags in curve index order; takes effect at the next Render.
    void SetCurveVisibility(const std::array<int, kCurveCount>& flags);
    // Redraws the image and repaints; nothing before the image exists.
    void Render();
    // Creates and renders the image at the current size if not done yet.
    void EnsureImage();
    // The chart without the readout as a PNG file; false with a message
    // naming the file and the reason.
    bool SavePicture(const QString& path, QString* error) const;
    void SetRedrawThrottle(int flag);
    // Zone boundaries on the velocity axis; take effect at the next Render.
    void SetVelocityMarks(const TrendChart::VelocityMarks& marks) {
        chart_.SetVelocityMarks(marks);
    }

    // Axis limits; take effect at the next Render.
    const TrendLimits& Limits() const { return chart_.Limits(); }
    void SetLimits(const TrendLimits& limits) { chart_.SetLimits(limits); }

    const TrendChart& Core() const { return chart_; }
    TrendChart& Core() { return chart_; }

signals:
    // Mouse button pressed on the chart (the owner repaints it).
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The title is part of the cached background: drawn again in the new
    // language.
    void changeEvent(QEvent* event) override;

private:
    TrendChart chart_;
};

}  // namespace orsan
