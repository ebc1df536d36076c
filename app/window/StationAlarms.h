#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "AlarmMonitor.h"
#include "StationPaths.h"

class QLabel;
class QWidget;

namespace orsan {

class AlarmLogDlg;
class OverviewPage;
class PannelDlg;
class XTabCtrl;

// Zones and alarms in the station window: grades on every refresh, shows
// each sensor's zone beside its lamp and on its panel, marks the zone
// boundaries on the trend charts, keeps the "报警记录" page and its tab's
// caption, and runs the per-sensor settings dialog.
class StationAlarms : public QObject {
    Q_OBJECT
public:
    // Runs the settings dialog for a sensor (1..6) with its current settings;
    // true with *accepted filled when the user confirmed. Tests replace it.
    using SettingsDialog = std::function<bool(int sensor, SensorAlarmSettings* accepted)>;

    // Reads Alarm.ini (refused values are shown in a message) and opens the
    // event table in the data folder.
    // watchOnly: the data folder cannot be written; stored events are read,
    // new ones are listed on the page only.
    StationAlarms(const StationPaths& paths, QWidget* window, bool watchOnly = false);

    // The pieces of the window it looks after, once they exist.
    void AttachZoneLabels(const std::array<QLabel*, kSensorCount>& labels);
    void AttachPanels(const std::array<PannelDlg*, kSensorCount>& panels);
    // Its tiles get each machine's alarm state on every refresh.
    void AttachOverview(OverviewPage* overview);
    // Machine names on the alarm page.
    void SetSensorNames(const SensorNames& names);
    // Creates the page as the tab control's last tab.
    AlarmLogDlg* AddPage(XTabCtrl* tabs);

    // One refresh of the main window: every sensor's status from the poller,
    // the addresses and the record interval (see AlarmMonitor::Update).
    void Refresh(const std::array<SensorStatus, kSensorCount>& statuses,
                 const std::array<uint32_t, kSensorCount>& addresses, double recordIntervalSeconds);

    // The settings dialog of a sensor, then SaveSettings with its answer.
    void EditSettings(int sensor);
    // Writes the sensor's section of Alarm.ini and applies it at once; a
    // file that cannot be written is reported, the settings hold until exit.
    void SaveSettings(int sensor, const SensorAlarmSettings& settings);
    void SetSettingsDialog(SettingsDialog dialog) { settingsDialog_ = std::move(dialog); }

    AlarmMonitor& Monitor() { return monitor_; }
    AlarmLogDlg* Page() const { return page_; }

private:
    void ShowZones();
    void MarkBoundaries(int sensor);
    void HighlightTab(int unacknowledged);
    void ShowAlarmsOnTiles();

    StationPaths paths_;
    QWidget* window_;
    AlarmMonitor monitor_;
    std::array<QLabel*, kSensorCount> zoneLabels_{};
    std::array<PannelDlg*, kSensorCount> panels_{};
    OverviewPage* overview_ = nullptr;
    // What the panels show, so an unchanged zone costs no restyling.
    std::array<QString, kSensorCount> shownCaptions_;
    AlarmLogDlg* page_ = nullptr;
    XTabCtrl* tabs_ = nullptr;
    int pageTab_ = -1;
    SettingsDialog settingsDialog_;
    bool watchOnly_ = false;
};

}  // namespace orsan
