#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>
#include <optional>

#include "FrequencyChartRenderer.h"

namespace orsan {

// The spectra of X, Y and Z over frequency. The chart is rendered into a
// cached image when spectra, scale, size or zoom change; a paint copies it
// and draws the markers, the cursor and a drag rectangle on top. A click
// sets the cursor, a drag to the right zooms, a drag to the left resets.
class FrequencyView : public QWidget {
    Q_OBJECT
public:
    explicit FrequencyView(QWidget* parent = nullptr);

    // New spectra: the whole spectrum is shown again; the cursor keeps its
    // frequency.
    void SetSpectra(std::array<AmplitudeSpectrum, 3> spectra, const QString& title,
                    const QString& unit);
    // No spectra: the note is shown instead.
    void Clear(const QString& note);
    void SetScale(AmplitudeScale scale);
    void SetHarmonics(bool on);
    void SetRunningSpeed(double hz);
    void SetCursorHz(double hz);

    const FrequencyViewState& State() const { return state_; }
    const SpectrumChartContent& Content() const { return content_; }
    std::optional<SpectrumCursor> Cursor() const;
    ChartRect Plot() const { return SpectrumPlotRect(width(), height()); }
    // What is on screen: the chart with markers and cursor, for a picture file.
    QImage Picture();
    int RenderCount() const { return renderCount_; }

signals:
    void CursorMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Fits the amplitude axis to what is shown and renders the chart.
    void Rerender();

    SpectrumChartContent content_;
    FrequencyViewState state_;
    QImage surface_;
    int renderCount_ = 0;
    bool pressed_ = false;
    QPoint dragStart_;
    QPoint dragEnd_;
};

}  // namespace orsan
