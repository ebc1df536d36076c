#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "TrendGeometry.h"
#include "TrendHistory.h"
#include "TrendStyle.h"

class QPainter;

namespace orsan {

// The trend chart without a window: history, settings, the off-screen
// image and the click readout. The image is redrawn only on append, clear
// and explicit Render; grid, axes, titles and legend come from a cached
// background redrawn only when the limits, the visibility or the size change,
// and a render restores from it only the plot and, when they change, the
// time labels.
class TrendChart {
public:
    using Clock = std::function<int64_t()>;  // calendar seconds
    using Flags = std::array<int, kCurveCount>;

    TrendChart();

    // Adds a sample (the oldest goes once 1800 are held) and redraws, every
    // third append only while the throttle is on and the history not full.
    // A sample not measured (its sensor did not answer) is kept but breaks
    // the curves. True when the image was redrawn.
    bool AppendSample(const SensorSample& sample, bool measured = true);
    // Recorded samples, oldest first, appended as they came and drawn once.
    void Prefill(const std::vector<TrendPoint>& points);
    // Two samples further apart than this (seconds; 0 never) are not joined:
    // the station was off or held up in between.
    void SetGapSeconds(double seconds) { gapSeconds_ = seconds; }
    // Empties the history and redraws.
    void ClearSamples();
    // The held samples, oldest first, into dest (room for 1800); the count.
    int CopySamples(SensorSample* dest) const;
    const TrendHistory& History() const { return history_; }

    // Takes effect at the next Render.
    void SetCurveVisibility(const Flags& flags) { curveVisible_ = flags; }
    const Flags& CurveVisibility() const { return curveVisible_; }
    void SetLimits(const TrendLimits& limits) { limits_ = limits; }
    const TrendLimits& Limits() const { return limits_; }
    // Velocity levels marked across the plot as thin dashed lines (the B/C
    // and C/D zone boundaries, mm/s); 0 or less draws none. Takes effect at
    // the next Render.
    struct VelocityMarks {
        float bc = 0;
        float cd = 0;
        bool operator==(const VelocityMarks&) const = default;
    };
    void SetVelocityMarks(const VelocityMarks& marks) { marks_ = marks; }
    const VelocityMarks& Marks() const { return marks_; }
    void SetRedrawThrottle(int flag) { redrawThrottle_ = flag; }
    int RedrawThrottle() const { return redrawThrottle_; }

    // Creates the image at the client size (kept from then on), lays it
    // out and renders it. Nothing happens when the image exists.
    void CreateImage(int width, int height);
    bool HasImage() const { return !image_.isNull(); }
    // Redraws the image; false (and nothing drawn) before CreateImage.
    bool Render();
    // The next Render draws the grid, axes, titles and legend anew (a new
    // language).
    void ForgetBackground() { backgroundValid_ = false; }
    const QImage& Image() const { return image_; }

    const TrendLayout& Layout() const { return layout_; }
    const TrendTimeRange& TimeRange() const { return range_; }

    // Left-button release: inside the plot moves the cursor there, outside
    // removes it.
    void SetCursorFromClick(QPoint p);
    int CursorX() const { return cursorX_; }
    // Sample shown by the readout, or -1 (no cursor, fewer than three
    // samples, or the oldest sample nearest).
    int ReadoutSampleIndex() const;
    // Cursor line and eleven text lines on a window painter.
    void DrawReadout(QPainter& painter) const;

    // Writes the image (without the readout) as PNG, atomically. False with
    // a message naming the file and the reason; also before CreateImage.
    bool SavePicture(const QString& path, QString* error) const;

    void SetClock(Clock clock) { clock_ = std::move(clock); }
    int RenderCount() const { return renderCount_; }
    int BackgroundRenderCount() const { return backgroundRenderCount_; }

private:
    // The time labels drawn: their first second and their step.
    struct TimeLabels {
        int32_t start = 0;
        int step = 0;
        bool operator==(const TimeLabels&) const = default;
    };

    // Appends without drawing; true when the image must be redrawn.
    void Append(const SensorSample& sample, bool measured);
    void RenderBackground();
    // area of from over the same pixels of to (same size and format).
    static void CopyPixels(const QImage& from, QImage& to, const EdgeRect& area);
    void DrawVelocityMarks(QPainter& painter) const;
    void DrawTimeLabels(QPainter& painter) const;
    void DrawCurves(QPainter& painter);

    TrendHistory history_;
    TrendLimits limits_;
    Flags curveVisible_;
    int redrawThrottle_ = 0;
    double gapSeconds_ = 0;
    TrendLayout layout_;
    TrendTimeRange range_;
    int cursorX_ = 0;
    Clock clock_;

    QImage image_;
    QImage background_;
    TimeLabels drawnLabels_;
    EdgeRect curvesArea_;  // the pixels the last render's curves may cover
    bool backgroundValid_ = false;
    TrendLimits backgroundLimits_;
    Flags backgroundVisible_{};
    VelocityMarks marks_;
    VelocityMarks backgroundMarks_;

    std::vector<QPoint> points_;  // reused by every render
    std::vector<int> xs_;
    std::vector<std::pair<int, int>> runs_;  // [from, to) of samples joined by lines
    // Each held sample's pixel rows, worked out once when it first shows
    // (again only when the limits or the plot change): a ring by append
    // number, appended_ counting every sample ever appended.
    std::vector<std::array<int, kCurveCount>> rows_;
    int64_t appended_ = 0;
    int64_t rowsUpTo_ = 0;  // rows_ holds the samples appended before this
    TrendLimits rowsLimits_;
    EdgeRect rowsPlot_;
    int renderCount_ = 0;
    int backgroundRenderCount_ = 0;
};

}  // namespace orsan
