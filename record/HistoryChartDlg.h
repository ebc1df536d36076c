#pragma once

#include <QDialog>
#include <array>

#include "FixedTexts.h"
#include "RecordHistorySource.h"
#include "RecordRange.h"
#include "TrendGeometry.h"

class QLabel;
class QPushButton;

namespace orsan {

class HistoryChartView;

// "历史趋势曲线": one sensor's recorded rows over a range, drawn like its
// trend chart; drag to zoom in, "返回上一级" to go back out, "曲线选择" for
// the curves, "导出图片" for a PNG on the desktop.
class HistoryChartDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kZoomOutId = 1230;
    static constexpr int kCurvesId = 1231;
    static constexpr int kPictureId = 1232;
    static constexpr int kChartId = 1233;
    static constexpr int kRangeTextId = 1234;

    HistoryChartDlg(RecordDatabase& database, int sensor, const RecordRange& range,
                    const TrendLimits& limits, const std::array<int, kCurveCount>& curves,
                    const QString& desktopDir, QWidget* parent = nullptr);

    HistoryChartView* View() const { return view_; }
    // "<desktop>/传感器<n>历史趋势<time>.png"; the path written, empty on failure.
    QString ExportPicture();

protected:
    void changeEvent(QEvent* event) override;

private:
    void ChooseCurves();
    void UpdateRangeText();
    void RetranslateTexts();

    RecordHistorySource source_;
    QString desktopDir_;
    HistoryChartView* view_ = nullptr;
    QLabel* rangeText_ = nullptr;
    QPushButton* zoomOut_ = nullptr;
    FixedTexts texts_{this};
};

}  // namespace orsan
