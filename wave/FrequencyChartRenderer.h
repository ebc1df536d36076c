#pragma once

#include <QImage>
#include <QPainter>
#include <QString>
#include <array>
#include <vector>

#include "FrequencyViewMath.h"

namespace orsan {

// The spectra the view shows and their curves in the y axis's units.
struct SpectrumChartContent {
    std::array<AmplitudeSpectrum, 3> spectra;   // X, Y, Z; no lines: not shown
    std::array<std::vector<float>, 3> display;  // DisplayAmplitude of every line
    QString title;
    QString unit;
    QString note;  // shown in an empty view

    SpectrumTriple Triple() const;
    // Takes the spectra and works out their display values for `scale`.
    void Set(std::array<AmplitudeSpectrum, 3> spectra, AmplitudeScale scale);
    void Rescale(AmplitudeScale scale);
};

// Background, frame, grid, axis labels, legend and the three curves (one
// polyline each, lines merged per pixel column) into image.
void RenderSpectrumChart(QImage& image, const SpectrumChartContent& content,
                         const FrequencyViewState& state);

// Order markers (1X, 2X, ... of the running speed), harmonic markers of the
// cursor's line and the cursor with its readout, on top of the rendered chart.
void DrawSpectrumOverlay(QPainter& painter, const ChartRect& plot,
                         const SpectrumChartContent& content, const FrequencyViewState& state);

}  // namespace orsan
