#pragma once

#include <QPoint>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "HistoryChart.h"

namespace orsan {

// The history chart in a window: a click shows the nearest row, a drag
// across the plot zooms into that part, ZoomOut goes back.
class HistoryChartView : public QWidget {
    Q_OBJECT
public:
    explicit HistoryChartView(HistorySource& source, QWidget* parent = nullptr);

    HistoryChart& Chart() { return chart_; }
    const HistoryChart& Chart() const { return chart_; }

    // Shows from .. to (seconds with milliseconds), forgetting earlier zooms.
    void Show(double from, double to);
    void ZoomOut();
    // Reads the shown range again, its zooms kept (after a change of what
    // is drawn).
    void Reload();
    // Redraws after a change of limits or curve selection.
    void Render();

signals:
    // The shown range or the readout changed.
    void changed();
    // A read failed; the text says why.
    void failed(const QString& message);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The title and the empty-range text in the new language.
    void changeEvent(QEvent* event) override;

private:
    void Report(bool ok, const QString& error);

    HistoryChart chart_;
    // A resize reads the rows again once the size has settled, not at every
    // step of a drag.
    QTimer reloadTimer_;
    std::optional<QPoint> dragStart_;
    QPoint dragNow_;
};

}  // namespace orsan
