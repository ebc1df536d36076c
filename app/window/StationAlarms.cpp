#include "StationAlarms.h"

#include <QLabel>

#include "AlarmLogDlg.h"
#include "AlarmSettingsDlg.h"
#include "DxChartTrend.h"
#include "IniFile.h"
#include "MessageDlg.h"
#include "OverviewPage.h"
#include "PannelDlg.h"
#include "XTabCtrl.h"
#include "ZoneLook.h"

namespace orsan {

namespace {
const QColor kUnacknowledgedCaption(255, 0, 0);
const QColor kLostColor(150, 0, 150);
const QString kWatchOnlyText =
    QStringLiteral("数据文件夹无法写入：新的报警事件只在本页列出，不保存。");
}

StationAlarms::StationAlarms(const StationPaths& paths, QWidget* window, bool watchOnly)
    : QObject(window), paths_(paths), window_(window), watchOnly_(watchOnly) {
    const QStringList problems = monitor_.LoadSettings(paths_.dataDir);
    if (!problems.isEmpty()) ShowMessage(problems.join(QLatin1Char('\n')));
    monitor_.OpenStore(paths_.dataDir, watchOnly_);
    settingsDialog_ = [this](int sensor, SensorAlarmSettings* accepted) {
        AlarmSettingsDlg dialog(sensor, monitor_.Settings(sensor), window_);
        if (dialog.exec() != QDialog::Accepted) return false;
        *accepted = dialog.Settings();
        return true;
    };
}

void StationAlarms::AttachZoneLabels(const std::array<QLabel*, kSensorCount>& labels) {
    zoneLabels_ = labels;
    for (int i = 0; i < kSensorCount; ++i)
        labels[size_t(i)]->setToolTip(QStringLiteral("%1#传感器振动烈度分区").arg(i + 1));
    ShowZones();
}

void StationAlarms::AttachPanels(const std::array<PannelDlg*, kSensorCount>& panels) {
    panels_ = panels;
    for (int n = 1; n <= kSensorCount; ++n) {
        connect(panels_[size_t(n - 1)], &PannelDlg::alarmSettingsRequested, this,
                [this](int index) { EditSettings(index + 1); });
        MarkBoundaries(n);
    }
    ShowZones();
}

void StationAlarms::AttachOverview(OverviewPage* overview) {
    overview_ = overview;
    ShowAlarmsOnTiles();
}

void StationAlarms::SetSensorNames(const SensorNames& names) {
    if (page_) page_->SetSensorNames(names);
}

void StationAlarms::ShowAlarmsOnTiles() {
    if (!overview_) return;
    // Events of the page not acknowledged yet, per sensor, newest first.
    std::array<const AlarmEvent*, kSensorCount> waiting{};
    if (page_)
        for (const AlarmEvent& e : page_->Events())
            if (e.sensor >= 1 && e.sensor <= kSensorCount && IsRaisingKind(e.kind) &&
                !e.acknowledged && !waiting[size_t(e.sensor - 1)])
                waiting[size_t(e.sensor - 1)] = &e;
    for (int n = 1; n <= kSensorCount; ++n) {
        const AlarmEvent* unacknowledged = waiting[size_t(n - 1)];
        const auto raised = monitor_.RaisedLevel(n);
        QString text;
        QColor color;
        if (monitor_.IsLost(n)) {
            text = QStringLiteral("LOST 通讯中断");
            color = kLostColor;
        } else if (raised) {
            const bool trip = *raised == AlarmKind::Trip;
            text = trip ? QStringLiteral("TRIP 停机") : QStringLiteral("ALARM 报警");
            color = ZoneColor(trip ? Zone::D : Zone::C);
        } else if (unacknowledged) {
            text = QLatin1String(AlarmKindName(unacknowledged->kind)) + QStringLiteral(" 已恢复");
            color = unacknowledged->kind == AlarmKind::Lost ? kLostColor : ZoneColor(Zone::C);
        }
        if (!text.isEmpty() && unacknowledged) text += QStringLiteral("  未确认");
        overview_->Tile(n)->SetAlarm(text, color, true);
    }
}

AlarmLogDlg* StationAlarms::AddPage(XTabCtrl* tabs) {
    tabs_ = tabs;
    page_ = new AlarmLogDlg(monitor_.Store(), tabs);
    tabs->AddTab(page_, QStringLiteral("报警记录"), 6);
    pageTab_ = tabs->Count() - 1;
    connect(page_, &AlarmLogDlg::UnacknowledgedChanged, this, &StationAlarms::HighlightTab);
    connect(page_, &AlarmLogDlg::UnacknowledgedChanged, this, &StationAlarms::ShowAlarmsOnTiles);
    if (watchOnly_) page_->ShowProblem(kWatchOnlyText);
    HighlightTab(page_->UnacknowledgedCount());
    return page_;
}

void StationAlarms::Refresh(const std::array<SensorStatus, kSensorCount>& statuses,
                            const std::array<uint32_t, kSensorCount>& addresses,
                            double recordIntervalSeconds) {
    const std::vector<AlarmEvent>& events =
        monitor_.Update(statuses, addresses, recordIntervalSeconds);
    ShowZones();
    ShowAlarmsOnTiles();
    if (events.empty() || !page_) return;
    // An event the store could not keep is still an alarm the operator must see.
    std::vector<AlarmEvent> unstored;
    for (const AlarmEvent& event : events)
        if (event.id == 0) unstored.push_back(event);
    page_->KeepUnstored(unstored);
    page_->Reload();
    if (!unstored.empty() && !watchOnly_)
        page_->ShowProblem(QStringLiteral("报警事件未能保存: ") + monitor_.Store().LastError());
}

void StationAlarms::ShowZones() {
    for (int i = 0; i < kSensorCount; ++i) {
        const Zone zone = monitor_.Zones()[size_t(i)];
        if (QLabel* label = zoneLabels_[size_t(i)]) {
            const QString text = zone == Zone::None ? QStringLiteral("-") : ZoneText(zone);
            if (label->text() != text) {
                label->setText(text);
                label->setStyleSheet(ZoneStyleSheet(zone));
            }
        }
        PannelDlg* panel = panels_[size_t(i)];
        if (!panel) continue;
        const QString caption = ZoneCaption(zone, monitor_.Settings(i + 1).machineClass);
        if (caption == shownCaptions_[size_t(i)]) continue;
        panel->SetZone(caption, ZoneColor(zone));
        shownCaptions_[size_t(i)] = caption;
    }
}

void StationAlarms::MarkBoundaries(int sensor) {
    PannelDlg* panel = panels_[size_t(sensor - 1)];
    if (!panel) return;
    const ZoneBoundaries& zones = monitor_.Limits(sensor).zones;
    panel->Chart()->SetVelocityMarks({float(zones.bc), float(zones.cd)});
    panel->Chart()->Render();
}

void StationAlarms::HighlightTab(int unacknowledged) {
    if (tabs_ && pageTab_ >= 0)
        tabs_->SetTabAlertColor(pageTab_, unacknowledged > 0 ? kUnacknowledgedCaption : QColor());
}

void StationAlarms::EditSettings(int sensor) {
    SensorAlarmSettings accepted;
    if (settingsDialog_(sensor, &accepted)) SaveSettings(sensor, accepted);
}

void StationAlarms::SaveSettings(int sensor, const SensorAlarmSettings& settings) {
    INIFILE file(AlarmIniPath(paths_.dataDir));
    const bool saved = SaveSensorAlarmSettings(file, sensor, settings);
    monitor_.SetSettings(sensor, settings);
    MarkBoundaries(sensor);
    ShowZones();
    if (!saved)
        ShowMessage(QStringLiteral("报警设置已生效，但无法写入配置文件%1，下次启动时将恢复原设置!")
                        .arg(file.Path()));
}

}  // namespace orsan
