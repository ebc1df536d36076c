#include "StationAlarms.h"

#include <QLabel>
#include <QTextStream>

#include "AlarmAnnunciator.h"
#include "AlarmExport.h"
#include "AlarmLogDlg.h"
#include "AlarmSettingsDlg.h"
#include "AlarmSettingsTableDlg.h"
#include "DesktopShell.h"
#include "DxChartTrend.h"
#include "IniFile.h"
#include "MessageDlg.h"
#include "OverviewPage.h"
#include "PannelDlg.h"
#include "XTabCtrl.h"
#include "ZoneLook.h"

namespace orsan {

StationAlarms::StationAlarms(const StationPaths& paths, QWidget* window, bool watchOnly)
    : QObject(window), paths_(paths), window_(window), watchOnly_(watchOnly) {
    const QStringList problems = monitor_.LoadSettings(paths_.dataDir);
    if (!problems.isEmpty()) ShowMessage(problems.join(QLatin1Char('\n')));
    monitor_.OpenStore(paths_.dataDir, watchOnly_);
    settingsDialog_ = [this](int sensor, SensorAlarmSettings* accepted) {
        AlarmSettingsDlg dialog(sensor, monitor_.Settings(sensor), window_);
        dialog.SetMachineName(names_[size_t(sensor - 1)]);
        if (dialog.exec() != QDialog::Accepted) return false;
        *accepted = dialog.Settings();
        return true;
    };
    allSettingsDialog_ = [this](AllSettings* accepted) {
        AllSettings current;
        for (int n = 1; n <= kSensorCount; ++n) current[size_t(n - 1)] = monitor_.Settings(n);
        AlarmSettingsTableDlg dialog(current, window_);
        dialog.SetSensorNames(names_);
        if (dialog.exec() != QDialog::Accepted) return false;
        *accepted = dialog.Settings();
        return true;
    };
    annunciator_ = new AlarmAnnunciator(monitor_, window_, MakeAlarmTone(), this);
    connect(annunciator_, &AlarmAnnunciator::changed, this, &StationAlarms::ShowAlarms);
}

void StationAlarms::AttachZoneLabels(const std::array<QLabel*, kSensorCount>& labels) {
    zoneLabels_ = labels;
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
    names_ = names;
    if (page_) page_->SetSensorNames(names);
}

QString StationAlarms::ActiveAlarmsWarning() const {
    QStringList lines;
    for (int n = 1; n <= kSensorCount; ++n)
        for (const AlarmKind kind : kAnnouncedKinds)
            if (IsActive(monitor_.States().State(n, kind))) {
                lines << SensorTitle(n, names_[size_t(n - 1)]) + QLatin1Char(' ') +
                             AlarmKindCaption(kind);
                break;
            }
    if (lines.isEmpty()) return QString();
    lines.prepend(tr("报警仍未解除，退出后将不再监视和报警："));
    return lines.join(QLatin1Char('\n'));
}

void StationAlarms::ShowAlarmsOnTiles() {
    if (!overview_) return;
    for (int n = 1; n <= kSensorCount; ++n) {
        const AlarmLook look = annunciator_->Look(n);
        overview_->Tile(n)->SetAlarm(look.text, look.background, look.flashOn, look.Returned());
    }
}

AlarmLogDlg* StationAlarms::AddPage(XTabCtrl* tabs) {
    tabs_ = tabs;
    page_ = new AlarmLogDlg(monitor_, tabs);
    tabs->AddTab(page_, QString(), 6);
    pageTab_ = tabs->Count() - 1;
    connect(page_, &AlarmLogDlg::acknowledged, annunciator_, &AlarmAnnunciator::ShowAcknowledged);
    connect(page_, &AlarmLogDlg::muteRequested, annunciator_, &AlarmAnnunciator::Mute);
    connect(page_, &AlarmLogDlg::settingsRequested, this, &StationAlarms::EditAllSettings);
    connect(page_, &AlarmLogDlg::exportRequested, this, &StationAlarms::ExportAlarms);
    ShowAlarms();
    return page_;
}

void StationAlarms::RetranslateTexts() {
    for (int i = 0; i < kSensorCount; ++i)
        if (QLabel* label = zoneLabels_[size_t(i)])
            label->setToolTip(tr("%1#传感器振动烈度分区").arg(i + 1));
    if (tabs_ && pageTab_ >= 0) tabs_->ChangeTab(pageTab_, nullptr, tr("报警记录"), 6);
    if (page_ && watchOnly_)
        page_->ShowProblem(tr("数据文件夹无法写入：新的报警事件只在本页列出，不保存。"));
    // The zone captions (their text changes with the language) and the alarm
    // texts on the tiles are shown anew.
    ShowZones();
    annunciator_->ShowAcknowledged();
}

void StationAlarms::Refresh(const std::array<SensorStatus, kSensorCount>& statuses,
                            const std::array<uint32_t, kSensorCount>& addresses,
                            double recordIntervalSeconds) {
    const bool heldBefore = monitor_.HoldsWrites();
    const std::vector<AlarmEvent>& events =
        monitor_.Update(statuses, addresses, recordIntervalSeconds);
    ShowZones();
    if ((!events.empty() || monitor_.WrittenFromHold() > 0) && page_) {
        // An event the store could not keep is still an alarm the operator must see.
        std::vector<AlarmEvent> unstored;
        for (const AlarmEvent& event : events)
            if (event.id == 0) unstored.push_back(event);
        page_->KeepUnstored(unstored);
        page_->Reload();
        if (!unstored.empty() && !watchOnly_)
            page_->ShowProblem(tr("报警事件未能保存: ") + monitor_.Store().LastError());
    }
    // What is held, counted anew with each event it holds; then that it was written.
    const bool holds = monitor_.HoldsWrites();
    if (page_ && (holds != heldBefore || (holds && !events.empty())))
        page_->ShowProblem(holds                            ? monitor_.HeldText()
                           : monitor_.WrittenFromHold() > 0 ? monitor_.WrittenFromHoldText()
                                                            : QString());
    // Zones move the colour of an acknowledged alarm too.
    annunciator_->Announce();
}

void StationAlarms::ShowAlarms() {
    const auto show = [this](int tab, const AlarmLook& look) {
        if (!tabs_ || tab < 0) return;
        // Lit: the alarm's colour; dark: the tab's own, its caption in that
        // colour. A returned alarm only edges the tab in its colour.
        tabs_->SetTabAlertBackground(tab, look.Fill());
        tabs_->SetTabAlertOutline(tab, look.Outline());
        tabs_->SetTabAlertColor(tab, !look.IsAlarm() || look.Returned() ? QColor()
                                     : look.flashOn ? ReadableTextOn(look.background)
                                                    : look.background);
    };
    for (int n = 1; n <= kSensorCount; ++n) {
        PannelDlg* panel = panels_[size_t(n - 1)];
        if (!panel) continue;
        const AlarmLook look = annunciator_->Look(n);
        panel->SetVelocityAlarm(look.Lit(), look.Returned());
        if (tabs_)
            for (int t = 0; t < tabs_->Count(); ++t)
                if (tabs_->Page(t) == panel) show(t, look);
    }
    show(pageTab_, annunciator_->StationLook());
    if (page_) page_->ShowFlash(monitor_.FlashOn());
    ShowAlarmsOnTiles();
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

void StationAlarms::EditSettings(int sensor) {
    SensorAlarmSettings accepted;
    if (settingsDialog_(sensor, &accepted)) SaveSettings(sensor, accepted);
}

bool StationAlarms::WriteSettings(int sensor, const SensorAlarmSettings& settings, QString* file) {
    INIFILE ini(AlarmIniPath(paths_.dataDir));
    *file = ini.Path();
    const bool saved = SaveSensorAlarmSettings(ini, sensor, settings);
    monitor_.SetSettings(sensor, settings);
    MarkBoundaries(sensor);
    return saved;
}

void StationAlarms::ReportUnsaved(const QString& file) {
    ShowMessage(tr("报警设置已生效，但无法写入配置文件%1，下次启动时将恢复原设置!").arg(file));
}

void StationAlarms::SaveSettings(int sensor, const SensorAlarmSettings& settings) {
    QString file;
    const bool saved = WriteSettings(sensor, settings, &file);
    ShowZones();
    if (!saved) ReportUnsaved(file);
}

void StationAlarms::EditAllSettings() {
    AllSettings accepted;
    if (allSettingsDialog_(&accepted)) SaveAllSettings(accepted);
}

void StationAlarms::SaveAllSettings(const AllSettings& settings) {
    QString file;
    bool saved = true;
    for (int n = 1; n <= kSensorCount; ++n)
        saved = WriteSettings(n, settings[size_t(n - 1)], &file) && saved;
    ShowZones();
    if (!saved) ReportUnsaved(file);
}

void StationAlarms::ExportAlarms() {
    QString path;
    QString error;
    QTextStream out(&path);
    QTextStream err(&error);
    if (RunAlarmExportCommand(paths_.dataDir, paths_.desktopDir, out, err) != kAlarmExportOk) {
        ShowMessage(tr("报警记录导出失败：") +
                    error.trimmed().remove(QStringLiteral("alarm export: ")));
        return;
    }
    OpenExportedFile(path.trimmed());
}

}  // namespace orsan
