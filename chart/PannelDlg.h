#pragma once

#include <QPalette>
#include <QTimer>
#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "FixedTexts.h"
#include "IniFile.h"
#include "LiveValues.h"
#include "SensorLink.h"
#include "StationPaths.h"
#include "TrendHistory.h"
#include "TrendStyle.h"

class QLabel;
class QPushButton;

namespace orsan {

class DXPNGCTL;
class DxChartTrend;

// The page of one sensor: live values of row sensorIndex of the shared
// live values the main window owns (every 350 ms), the trend chart fed once per trend interval,
// and the buttons for axis ranges, curve visibility, clearing and the
// picture and data exports. Chart.ini section "CH<sensorIndex + 1>".
class PannelDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLiveTimerMs = 350;
    static constexpr int kRangeButtonId = 1053;
    static constexpr int kShowButtonId = 1056;
    static constexpr int kClearButtonId = 1051;
    static constexpr int kPictureButtonId = 1052;
    static constexpr int kDataButtonId = 1054;
    static constexpr int kChartId = 1049;
    static constexpr int kLogoId = 1108;
    static constexpr const char* kZoneBadgeName = "zoneBadge";

    // sensorIndex 0..5 (sensor 1..6). Loads Chart.ini from the data folder,
    // creates the chart image and starts both timers; the trend timer runs
    // at intervalWholeSeconds seconds, or 300 ms while that is 0 until
    // SetTrendInterval tells the sub-second record interval. live must
    // outlive the panel.
    PannelDlg(int sensorIndex, const StationPaths& paths, const LiveValues& live,
              int intervalWholeSeconds, QWidget* parent = nullptr);

    // Trend timer period: whole seconds for 1 s and more (2.5 -> 2000 ms);
    // below 1 s the interval itself (0.3 -> 300 ms), so sub-second record
    // intervals give sub-second samples instead of a 10 ms flood. 0 or less
    // keeps 300 ms.
    // Samples more than two periods and two seconds apart are not joined.
    void SetTrendInterval(float seconds);
    // The trend as recorded before this start (TrendPoint, oldest first):
    // stale readings and times the station was off stay gaps.
    void PrefillTrend(const std::vector<TrendPoint>& points);
    // 1 while the record interval is below 1 s: the chart redraws on every
    // third sample until its history is full.
    void SetFastInterval(int flag);
    // How fresh the live row is; the main window tells it on every refresh.
    // While not Ok the values are drawn greyed under a notice with the time
    // of the last good read, "--" without any, and trend samples break the
    // curves. Shown at the next live refresh.
    void SetLink(const SensorLink& link) { link_ = link; }
    const SensorLink& Link() const { return link_; }

    // The sensor's severity zone and machine class beside the velocity row,
    // on the zone's colour; hidden until first set. A click on it asks for
    // the alarm settings (alarmSettingsRequested).
    void SetZone(const QString& text, const QColor& color);
    QPushButton* ZoneBadge() const { return zoneBadge_; }
    // The three velocity boxes on an alarm's colour (text readable on it),
    // or only edged in it when outlined (an alarm that returned and waits
    // for its acknowledgement); an invalid colour gives them back their own
    // look. Set by turns to flash them.
    void SetVelocityAlarm(const QColor& color, bool outlined = false);
    const QColor& VelocityAlarm() const { return velocityAlarm_; }
    bool VelocityAlarmOutlined() const { return velocityOutlined_; }

    // The machine's name in the page's header and its export file names;
    // empty: the sensor's number only.
    void SetMachineName(const QString& name);
    const QString& MachineName() const { return machineName_; }
    QLabel* Header() const { return header_; }

    int SensorIndex() const { return sensorIndex_; }
    int TrendTimerPeriod() const { return trendTimer_.interval(); }
    const std::array<int, kCurveCount>& ShowFlags() const { return showFlags_; }
    DxChartTrend* Chart() const { return chart_; }

    // The work of the two timers, callable directly.
    void RefreshLiveValues();
    void AppendTrendSample();

    // The five buttons' actions.
    void SetRange();
    void SelectCurves();
    void ClearCurves();
    void ExportPicture();
    void ExportData();

signals:
    void alarmSettingsRequested(int sensorIndex);

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    // Fixed texts, the header, the link notice and the chart's title in the
    // language now installed.
    void RetranslateTexts();
    // Each value field's palette: its own, greyed while stale, on the
    // alarm's colour for the velocity boxes.
    void PaintValueFields();

    INIFILE chartSettings;
    std::array<int, kCurveCount> showFlags_{};
    int sensorIndex_;
    StationPaths paths_;
    const LiveValues& live_;
    SensorLink link_;
    // The value fields with their own colours, in live-field order.
    std::vector<std::pair<QLabel*, QPalette>> liveLabels_;
    QLabel* notice_ = nullptr;
    DXPNGCTL* logo_ = nullptr;
    DxChartTrend* chart_ = nullptr;
    QPushButton* zoneBadge_ = nullptr;
    QColor velocityAlarm_;
    bool velocityOutlined_ = false;
    QLabel* header_ = nullptr;
    QString machineName_;
    QTimer liveTimer_;
    QTimer trendTimer_;
    FixedTexts texts_{this};
};

}  // namespace orsan
