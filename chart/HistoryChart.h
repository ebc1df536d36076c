#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "HistoryCurves.h"
#include "HistoryBands.h"
#include "HistoryReduction.h"
#include "SensorSample.h"
#include "TrendGeometry.h"
#include "TrendStyle.h"

class QPainter;

namespace orsan {

inline constexpr const char* kHistoryTitleChinese =
    QT_TRANSLATE_NOOP("orsan::HistoryChart", "三轴振动温度历史趋势曲线");
inline const QString kHistoryTitleEnglish =
    QStringLiteral("History Trend Plotting of Tri-Axis Vibration & Temperature");
inline constexpr const char* kNoRowsInRangeText =
    QT_TRANSLATE_NOOP("orsan::HistoryChart", "该时间段内没有记录数据");

// The whole history chart of a reduction in layout's pixels: frame, time
// labels and the visible curves, or the note that the range holds no rows.
// The window's chart and the daily report draw with it.
void PaintHistory(QPainter& painter, const TrendLayout& layout, const TrendLimits& limits,
                  const std::array<int, kCurveCount>& visible, const HistoryReduction& reduction);

// Where the history chart's rows come from (the record database). Slot i
// of every row holds the value of curves[i].
class HistorySource {
public:
    virtual ~HistorySource() = default;
    // Adds every row from `from` to `to` (seconds with milliseconds, both
    // included) in time order. False with a message on a failure.
    virtual bool ReadRows(const std::vector<HistoryCurve>& curves, double from, double to,
                          HistoryReduction& into, QString* error) = 0;
    // The row nearest to `at` among those from `from` to `to` into *row
    // (nothing when there is none). False with a message on a failure.
    virtual bool NearestRow(const std::vector<HistoryCurve>& curves, double at, double from,
                            double to, std::optional<HistoryRow>* row, QString* error) = 0;
    // The summaries at `detail` of `curves` over the spans that meet `from`
    // .. `to` into *bands, each curve in its colour. False with a message on
    // a failure, false with none when the source keeps no summaries (the
    // chart then reads the rows).
    virtual bool ReadBands(const std::vector<HistoryCurve>& /*curves*/,
                           const std::vector<QColor>& /*colors*/, double /*from*/, double /*to*/,
                           HistoryDetail /*detail*/, HistoryBands* /*bands*/, QString* /*error*/) {
        return false;
    }
};

// The recorded history over a time range, without a window: one machine
// with the same frame, axes, colours and curve selection as the trend chart,
// or one quantity of every machine; the rows reduced per pixel column, a
// zoom stack of ranges and a click readout of the nearest row.
class HistoryChart {
public:
    using Flags = std::array<int, kCurveCount>;

    explicit HistoryChart(HistorySource& source);

    // Image size (at least 275 x 80); takes effect at the next Show/Render.
    void SetSize(int width, int height);
    void SetLimits(const TrendLimits& limits) { limits_ = limits; }
    const TrendLimits& Limits() const { return limits_; }
    void SetCurveVisibility(const Flags& flags) { visible_ = flags; }
    const Flags& CurveVisibility() const { return visible_; }
    // What is drawn; takes effect at the next Show/Reload, which keeps the
    // range and its zooms.
    void SetSelection(const HistorySelection& selection) { selection_ = selection; }
    const HistorySelection& Selection() const { return selection_; }
    // Machine names for the legend and readout of every machine.
    void SetSensorNames(const SensorNames& names) { names_ = names; }

    // Shows from .. to (seconds), forgetting earlier zooms.
    bool Show(double from, double to, QString* error);
    // Shows the part between two pixel columns of the plot (either order);
    // false without change when they are under 3 pixels apart.
    bool ZoomToPixels(int x1, int x2, QString* error);
    // Back to the range before the last zoom; false when there is none.
    bool ZoomOut(QString* error);
    bool CanZoomOut() const { return ranges_.size() > 1; }

    // Reads the shown range again and redraws.
    bool Reload(QString* error);
    // Redraws from the rows already reduced (after a change of limits or curves).
    void Render();

    // A click: inside the plot the readout shows the row nearest to it,
    // outside the readout goes.
    bool ReadoutAt(QPoint point, QString* error);
    const std::optional<HistoryRow>& ReadoutRow() const { return readoutRow_; }
    // The readout's text lines; empty without a readout.
    QStringList ReadoutLines() const;
    int CursorX() const { return cursorX_; }
    void DrawReadout(QPainter& painter) const;

    const QImage& Image() const { return image_; }
    const TrendLayout& Layout() const { return layout_; }
    const TrendTimeRange& Range() const { return reduction_.Range(); }
    const HistoryReduction& Reduction() const { return reduction_; }
    // Rows, or hourly or daily summaries (ranges over two days, when the
    // source keeps them).
    HistoryDetail Detail() const { return detail_; }
    const HistoryBands& Bands() const { return bands_; }
    // The rows drawn, or the fresh readings the drawn summaries hold.
    int64_t ShownReadings() const {
        return detail_ == HistoryDetail::Raw ? reduction_.RowCount() : bands_.readings;
    }

    // The image without the readout as PNG; false with a message.
    bool SavePicture(const QString& path, QString* error) const;

private:
    struct Span {
        double from;
        double to;
    };
    // What the frame (everything but the time labels, rows and readout) is drawn from.
    struct FrameKey {
        int width = 0;
        int height = 0;
        TrendLimits limits;
        Flags legend{};
        QString title;
        QString englishTitle;  // the second line, shown only while untranslated
        bool operator==(const FrameKey&) const = default;
    };
    bool Load(QString* error);
    double TimeAtX(int x) const;

    HistorySource& source_;
    TrendLayout layout_;
    TrendLimits limits_;
    Flags visible_;
    HistorySelection selection_;
    SensorNames names_;
    std::vector<Span> ranges_;
    HistoryReduction reduction_;
    HistoryDetail detail_ = HistoryDetail::Raw;
    HistoryBands bands_;
    QImage image_;
    QImage frame_;
    FrameKey frameKey_;
    std::optional<HistoryRow> readoutRow_;
    int cursorX_ = 0;
};

}  // namespace orsan
