#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "AlarmMonitor.h"
#include "SensorNames.h"
#include "StationPaths.h"

class QLabel;
class QWidget;

namespace orsan {

class AlarmAnnunciator;
class AlarmLogDlg;
class OverviewPage;
class PannelDlg;
class XTabCtrl;

// Zones and alarms in the station window: grades on every refresh, shows
// each sensor's zone beside its lamp and on its panel, marks the zone
// boundaries on the trend charts, keeps the "报警记录" page, announces
// alarms (flashing the sensor's tab caption and velocity boxes and the
// page's caption, the tone), and runs the settings dialogs and the export.
class StationAlarms : public QObject {
    Q_OBJECT
public:
    // Runs the settings dialog for a sensor (1..6) with its current settings;
    // true with *accepted filled when the user confirmed. Tests replace it.
    using SettingsDialog = std::function<bool(int sensor, SensorAlarmSettings* accepted)>;
    // The same for all sensors at once ("报警设置" on the page).
    using AllSettings = std::array<SensorAlarmSettings, kSensorCount>;
    using AllSettingsDialog = std::function<bool(AllSettings* accepted)>;

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
    // The page's caption, the zone tips and captions and the alarm texts in
    // the current language.
    void RetranslateTexts();
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
    // The dialog of every sensor, then all of them saved and applied.
    void EditAllSettings();
    void SaveAllSettings(const AllSettings& settings);
    void SetAllSettingsDialog(AllSettingsDialog dialog) { allSettingsDialog_ = std::move(dialog); }
    // "导出CSV": the event table to the desktop folder, then opened.
    void ExportAlarms();

    // The alarms still active, one line per machine with its most severe
    // one ("1# P-101 TRIP 停机"), under a line saying nothing will watch them
    // once the window is gone; empty when none is active.
    QString ActiveAlarmsWarning() const;

    AlarmMonitor& Monitor() { return monitor_; }
    AlarmLogDlg* Page() const { return page_; }
    // Looks per sensor and the change signal (e.g. for overview tiles).
    AlarmAnnunciator* Annunciator() const { return annunciator_; }

private:
    void ReportUnsaved(const QString& file);
    void ShowZones();
    void MarkBoundaries(int sensor);
    // The looks of the alarms on the tab captions, the velocity boxes and the page.
    void ShowAlarms();
    // Writes a sensor's section; false when the file could not be written.
    bool WriteSettings(int sensor, const SensorAlarmSettings& settings, QString* file);
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
    AllSettingsDialog allSettingsDialog_;
    AlarmAnnunciator* annunciator_ = nullptr;
    SensorNames names_;
    bool watchOnly_ = false;
};

}  // namespace orsan
