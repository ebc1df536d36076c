#pragma once

#include <QDialog>
#include <array>

#include "FixedTexts.h"
#include "RecordHistorySource.h"
#include "RecordRange.h"
#include "SensorNames.h"
#include "TrendGeometry.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace orsan {

class HistoryChartView;

// "历史趋势曲线": one sensor's recorded rows over a range, drawn like its
// trend chart, or one quantity of every machine side by side ("全部机器");
// drag to zoom in, "返回上一级" to go back out, "曲线选择" for the curves,
// "导出图片" for a PNG on the desktop.
class HistoryChartDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kZoomOutId = 1230;
    static constexpr int kCurvesId = 1231;
    static constexpr int kPictureId = 1232;
    static constexpr int kChartId = 1233;
    static constexpr int kRangeTextId = 1234;
    static constexpr int kShowId = 1235;      // this machine, or every machine
    static constexpr int kQuantityId = 1236;  // the quantity drawn for every machine

    HistoryChartDlg(RecordDatabase& database, int sensor, const RecordRange& range,
                    const TrendLimits& limits, const std::array<int, kCurveCount>& curves,
                    const SensorNames& names, const QString& desktopDir,
                    QWidget* parent = nullptr);

    HistoryChartView* View() const { return view_; }
    // Machine: "<desktop>/传感器<n>历史趋势<time>.png"; every machine:
    // "<desktop>/全部机器<quantity>历史趋势<time>.png". The path written,
    // empty on failure.
    QString ExportPicture();

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();
    void ChooseCurves();
    // Draws what the two choices say over the shown range and its zooms.
    void ApplyChoice();
    void UpdateRangeText();
    bool AllMachines() const;

    RecordHistorySource source_;
    int sensor_;
    SensorNames names_;
    QString desktopDir_;
    HistoryChartView* view_ = nullptr;
    QLabel* rangeText_ = nullptr;
    QLabel* showLabel_ = nullptr;
    QComboBox* show_ = nullptr;
    QComboBox* quantity_ = nullptr;
    QPushButton* zoomOut_ = nullptr;
    QPushButton* curvesButton_ = nullptr;
    FixedTexts texts_{this};
};

}  // namespace orsan
