#pragma once

#include <QDialog>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "FixedTexts.h"
#include "IniFile.h"
#include "Language.h"
#include "LiveValues.h"
#include "ServerSettings.h"
#include "StationConfig.h"
#include "StationPaths.h"
#include "StationStore.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace orsan {

class DatabaseLogDlg;
class DxAlarmStatic;
class Ipv4AddressEdit;
class OverviewPage;
class PannelDlg;
class RecordDatabase;
class RecordRetention;
class SensorPoller;
struct SensorStatus;
class StationAlarms;
class ServerStatusButton;
class XTabCtrl;

// The station's only top-level window: sensor addresses and machine names
// with their lamps and tool buttons, the record interval, the polling lamp,
// and the tab pages: the overview first, the six panels, the record page.
class OrsanSensorMonitorDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 300;

    // Opens the parameter / waveform dialog of a sensor; tests replace them.
    using SensorTool = std::function<void(int sensorNumber)>;

    // With a viewerNotice the data folder cannot be written: the window
    // monitors and alarms, records nothing, forwards nothing and shows the
    // notice on the record page. Otherwise recording resumes when Config.ini
    // says it was on at the last run.
    OrsanSensorMonitorDlg(const StationPaths& paths, SensorPoller& poller, RecordDatabase& database,
                          const QString& viewerNotice = QString(), QWidget* parent = nullptr);
    ~OrsanSensorMonitorDlg() override;

    void SetParameterTool(SensorTool tool) { parameterTool_ = std::move(tool); }
    void SetWaveformTool(SensorTool tool) { waveformTool_ = std::move(tool); }

    // The handlers, public so tests drive them as the timers and buttons do.
    void Refresh();
    void RecordTick();
    void SaveAddresses();
    void ApplyInterval();
    // The server settings dialog; saved settings restart the forwarder.
    void OpenServerSettings();
    void ApplyServerSettings(const ServerSettings& settings);
    // While recording, or with rows still waiting for the server, asks
    // before the window closes; true when it may close.
    bool ConfirmClose();

    int RecordTimerPeriod() const { return recordTimer_.interval(); }
    int IntervalWholeSeconds() const { return intervalWholeSeconds_; }
    // Refilled on every refresh; the panels and the record timer read it.
    LiveValues& Live() { return live_; }
    const std::array<uint32_t, kSensorCount>& SensorAddresses() const { return addresses_; }
    PannelDlg* Panel(int index) const { return panels_[index]; }
    OverviewPage* Overview() const { return overview_; }
    const SensorNames& Names() const { return names_; }
    // The tab of sensor 1..6's panel (the overview is tab 0).
    static int PanelTab(int sensorNumber) { return sensorNumber; }
    DatabaseLogDlg* RecordPage() const { return recordPage_; }
    XTabCtrl* Tabs() const { return tabs_; }
    StationAlarms* Alarms() const { return alarms_; }
    ServerStatusButton* ServerButton() const { return serverButton_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The window title, fixed texts and tab captions in the current language.
    void RetranslateTexts();
    // Switches every window to the language at once and keeps it in Config.ini.
    void ChooseLanguage(UiLanguage language);
    void BuildControls();
    void BuildTabs();
    void SetFastIntervalEverywhere(float interval);
    void ShowInterval(float seconds);
    void OpenParameterDialog(int sensorNumber);
    void OpenWaveformDialog(int sensorNumber);
    // Whether the panel's values are fresh, stale, absent or paused.
    void TellPanelItsLink(int sensorNumber, const SensorStatus& status);
    // Names and addresses on the tabs, panels, tiles, alarm page and exports.
    void ShowMachines();
    // Each panel's trend starts with what the record holds of its last
    // trend periods.
    void PrefillTrends();
    // A message once the window is up, so none holds the start up.
    void ShowMessageLater(const QString& text);

    StationPaths paths_;
    SensorPoller& poller_;
    RecordDatabase& database_;
    INIFILE config_;
    INIFILE info_;
    StationConfig loaded_;
    FixedTexts texts_{this};
    float interval_ = kMinRecordInterval;
    int intervalWholeSeconds_ = 0;
    LiveValues live_{};
    std::array<uint32_t, kSensorCount> addresses_{};
    SensorNames names_;

    std::array<Ipv4AddressEdit*, kSensorCount> addressEdits_{};
    std::array<QLineEdit*, kSensorCount> nameEdits_{};
    std::array<DxAlarmStatic*, kSensorCount> lamps_{};
    std::array<QLabel*, kSensorCount> zoneLabels_{};
    std::array<QPushButton*, kSensorCount> parameterButtons_{};
    std::array<QPushButton*, kSensorCount> waveformButtons_{};
    DxAlarmStatic* pollingLamp_ = nullptr;
    QLineEdit* intervalEdit_ = nullptr;
    QComboBox* language_ = nullptr;
    XTabCtrl* tabs_ = nullptr;
    OverviewPage* overview_ = nullptr;
    std::array<PannelDlg*, kSensorCount> panels_{};
    DatabaseLogDlg* recordPage_ = nullptr;
    StationAlarms* alarms_ = nullptr;
    ServerStatusButton* serverButton_ = nullptr;
    StationStore store_;
    std::unique_ptr<RecordRetention> retention_;

    QTimer refreshTimer_;
    QTimer recordTimer_;
    SensorTool parameterTool_;
    SensorTool waveformTool_;
};

}  // namespace orsan
