#include "OrsanSensorMonitorDlg.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "DailyReportDlg.h"
#include "DatabaseDiagnostic.h"
#include "DatabaseLogDlg.h"
#include "DesktopShell.h"
#include "DialogControls.h"
#include "DxAlarmStatic.h"
#include "EnterEscapeFilter.h"
#include "Freshness.h"
#include "Ipv4AddressEdit.h"
#include "Language.h"
#include "MessageDlg.h"
#include "OpenParameterDialog.h"
#include "OverviewPage.h"
#include "PannelDlg.h"
#include "RecordDatabase.h"
#include "RecordHistoryMode.h"
#include "RecordRetention.h"
#include "RecordRow.h"
#include "Resources.h"
#include "SensorLink.h"
#include "SensorPoller.h"
#include "ServerSettingsDlg.h"
#include "ServerStatusButton.h"
#include "StationAlarms.h"
#include "StationPolling.h"
#include "TrendPrefill.h"
#include "WavDaqDlg.h"
#include "WindowFrame.h"
#include "XTabCtrl.h"

namespace orsan {

namespace {

// Control ids, in sensor order 1 to 6.
constexpr int kAddressIds[kSensorCount] = {1084, 1085, 1086, 1087, 1088, 1089};
constexpr int kFirstNameEdit = 1090;
constexpr int kLampIds[kSensorCount] = {1059, 1060, 1061, 1056, 1057, 1058};
constexpr int kFirstParameterButton = 1012;
constexpr int kFirstWaveformButton = 1018;
constexpr int kSaveAddressesButton = 1011;
constexpr int kIntervalEdit = 1031;
constexpr int kApplyIntervalButton = 1033;
constexpr int kPollingLamp = 1055;
constexpr int kTabControl = 1010;
constexpr int kLanguageChoice = 1096;
constexpr int kLanguageX = 290;
// The overview, six panels, then the record page.
constexpr int kRecordTab = 1 + kSensorCount;

constexpr int kDialogWidth = 555;
// One row below the tab pages holds the plant-server state.
constexpr int kDialogHeight = 341;

// A timer period of 0 ms runs at the shortest period, 10 ms.
int TimerPeriod(float seconds) {
    const int ms = int(seconds * 1000.0f);
    return ms > 0 ? ms : 10;
}

}  // namespace

OrsanSensorMonitorDlg::OrsanSensorMonitorDlg(const StationPaths& paths, SensorPoller& poller,
                                             RecordDatabase& database, const QString& viewerNotice,
                                             QWidget* parent)
    : QDialog(parent), paths_(paths), poller_(poller), database_(database), store_(paths.dataDir) {
    setWindowIcon(ResourceIcon(128));
    UseFixedMainWindowFrame(this);
    setFont(DialogFont());
    ConsumeEnterEscape(this);

    info_.SetPath(InfoPath(paths_.dataDir));

    config_.SetPath(ConfigPath(paths_.dataDir));
    loaded_ = LoadStationConfig(config_);
    interval_ = loaded_.interval;
    addresses_ = loaded_.addresses;
    names_ = loaded_.names;
    intervalWholeSeconds_ = loaded_.intervalWholeSeconds;
    alarms_ = new StationAlarms(paths_, this, !viewerNotice.isEmpty());

    BuildControls();
    ShowInterval(interval_);
    BuildTabs();
    alarms_->AttachZoneLabels(zoneLabels_);
    alarms_->AttachPanels(panels_);
    alarms_->AttachOverview(overview_);
    SetFastIntervalEverywhere(interval_);
    PrefillTrends();
    for (int i = 0; i < kSensorCount; ++i) {
        addressEdits_[i]->SetAddress(addresses_[i]);
        nameEdits_[i]->setText(names_[i]);
    }
    RetranslateTexts();

    StartStationPolling(poller_, addresses_, loaded_.ports, loaded_.links);
    // A panel's values and its link from one copy, as at every refresh: a
    // poller that kept its readings must not show them as zeros that are fresh.
    for (int n = 1; n <= kSensorCount; ++n) {
        const SensorStatus status = poller_.GetStatus(n);
        FillLiveValues(live_, n, status.record);
        TellPanelItsLink(n, status);
    }
    if (viewerNotice.isEmpty()) {
        // The folder's recorder forwards its rows; a viewer leaves that to it.
        database_.NoteConfiguredSensors(ConfiguredSensors(addresses_));
        store_.Start(LoadServerSettings(config_), addresses_, names_);
        recordPage_->RememberRecordingIn(config_.Path());
        retention_ = StartRecordRetention(database_, config_,
                                          [this](const QString& text) { ShowMessageLater(text); });
        if (loaded_.recording) recordPage_->ResumeRecording();
    } else {
        recordPage_->WatchOnly(viewerNotice);
        store_.LeaveToRecorder(LoadServerSettings(config_));
    }

    parameterTool_ = [this](int n) { OpenParameterDialog(n); };
    // Parameter dialogs are windows of their own: they close with this one,
    // and their sensors are polled again.
    connect(this, &QDialog::finished, this, [this] { CloseParameterDialogs(this); });
    waveformTool_ = [this](int n) { OpenWaveformDialog(n); };

    connect(&refreshTimer_, &QTimer::timeout, this, &OrsanSensorMonitorDlg::Refresh);
    connect(&recordTimer_, &QTimer::timeout, this, &OrsanSensorMonitorDlg::RecordTick);
    // Coarse timers may fire up to 5 % early; rows must keep their interval.
    recordTimer_.setTimerType(Qt::PreciseTimer);
    refreshTimer_.start(kRefreshMs);
    recordTimer_.start(TimerPeriod(interval_));
}

OrsanSensorMonitorDlg::~OrsanSensorMonitorDlg() {
    refreshTimer_.stop();
    recordTimer_.stop();
}

void OrsanSensorMonitorDlg::PrefillTrends() {
    if (!database_.IsOpen()) return;
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (PannelDlg* panel : panels_) {
        QString error;
        const auto points = ReadRecordedTrend(database_, panel->SensorIndex() + 1, now,
                                              panel->TrendTimerPeriod(), &error);
        // The trend then only starts empty, as it always did.
        if (!points) {
            ReportDiagnostic(error);
            return;
        }
        panel->PrefillTrend(*points);
    }
}

void OrsanSensorMonitorDlg::ShowMessageLater(const QString& text) {
    QTimer::singleShot(0, this, [text] { ShowMessage(text); });
}

void OrsanSensorMonitorDlg::BuildControls() {
    const DialogControls ui(this);
    setFixedSize(ui.Units().Size(kDialogWidth, kDialogHeight));
    // Frames go to the back so they never cover the controls inside them.
    const auto group = [&](const char* title, int x, int y, int w, int h) {
        texts_.Text(ui.Group(QString(), x, y, w, h), title)->lower();
    };
    const auto label = [&](const char* text, int x, int y, int w, int h, int number = 0) {
        return texts_.Text(ui.Label(QString(), x, y, w, h), text, number);
    };
    const auto tip = [&](QWidget* widget, const char* text, int number = 0) {
        texts_.Add(widget, text, FixedTexts::Part::ToolTip, number);
    };

    // The machine's name beside its address; the wiring picture gave up its room.
    group(QT_TR_NOOP("传感器地址设置"), 3, 2, 439, 70);
    for (int i = 0; i < kSensorCount; ++i) {
        const int x0 = 8 + (i / 3) * 217;
        const int y = 12 + (i % 3) * 15;
        label(QT_TR_NOOP("%1#传感器IP:"), x0, y + 2, 42, 8, i + 1);
        addressEdits_[i] = ui.Place(new Ipv4AddressEdit(this), x0 + 43, y, 66, 12, kAddressIds[i]);
        nameEdits_[i] = ui.Place(new QLineEdit(this), x0 + 111, y, 52, 12, kFirstNameEdit + i);
        texts_.Add(nameEdits_[i], QT_TR_NOOP("机器名称"), FixedTexts::Part::Placeholder);
        tip(nameEdits_[i], QT_TR_NOOP("%1#传感器所在机器的名称，如 P-101"), i + 1);
        zoneLabels_[i] = ui.Place(new QLabel(this), x0 + 166, y + 1, 9, 10);
        zoneLabels_[i]->setAlignment(Qt::AlignCenter);
        lamps_[i] = ui.Place(new DxAlarmStatic(this), x0 + 176, y + 2, 8, 8, kLampIds[i]);
        parameterButtons_[i] = ui.IconButton(kFirstParameterButton + i, QString(), 163, QString(),
                                             x0 + 187, y - 1, 14, 13);
        tip(parameterButtons_[i], QT_TR_NOOP("配置传感器参数!"));
        waveformButtons_[i] = ui.IconButton(kFirstWaveformButton + i, QString(), 164, QString(),
                                            x0 + 203, y - 1, 14, 13);
        tip(waveformButtons_[i], QT_TR_NOOP("读取传感器波形!"));
        connect(parameterButtons_[i], &QPushButton::clicked, this,
                [this, i] { parameterTool_(i + 1); });
        connect(waveformButtons_[i], &QPushButton::clicked, this,
                [this, i] { waveformTool_(i + 1); });
    }
    auto* note = label(QT_TR_NOOP("注意：请确保IP1-IP6无重复项存在，如不知道IP地址请填0.0.0.0！"),
                       8, 55, 270, 14);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    // The station's language, each named in itself, in the room beside the note.
    texts_.Text(ui.Label(QString(), kLanguageX, 57, 33, 8, Qt::AlignRight | Qt::AlignVCenter),
                QT_TR_NOOP("语言:"));
    language_ = ui.Place(new QComboBox(this), kLanguageX + 34, 55, 50, 12, kLanguageChoice);
    language_->addItem(QStringLiteral("中文"), LanguageCode(UiLanguage::Chinese));
    language_->addItem(QStringLiteral("English"), LanguageCode(UiLanguage::English));
    language_->setCurrentIndex(IsEnglishShown() ? 1 : 0);
    connect(language_, &QComboBox::activated, this, [this](int index) {
        ChooseLanguage(*LanguageFromCode(language_->itemData(index).toString()));
    });
    auto* save =
        texts_.Text(ui.IconButton(kSaveAddressesButton, QString(), 143, QString(), 388, 55, 48, 14),
                    QT_TR_NOOP("修改"));
    tip(save, QT_TR_NOOP("设置传感器地址!"));
    connect(save, &QPushButton::clicked, this, &OrsanSensorMonitorDlg::SaveAddresses);

    // The interval and polling groups keep their insides, 106 units to the right.
    const int dx = 106;
    group(QT_TR_NOOP("采集时间间隔设置"), 338 + dx, 2, 108, 44);
    label(QT_TR_NOOP("趋势记录间隔:"), 343 + dx, 15, 50, 8);
    intervalEdit_ = ui.Place(new QLineEdit(this), 393 + dx, 13, 30, 12, kIntervalEdit);
    label(QT_TR_NOOP("s/次"), 425 + dx, 15, 18, 8);
    label(QT_TR_NOOP("范围:1-1800s"), 343 + dx, 31, 50, 8);
    auto* apply = texts_.Text(
        ui.IconButton(kApplyIntervalButton, QString(), 136, QString(), 395 + dx, 28, 47, 14),
        QT_TR_NOOP("调整"));
    tip(apply, QT_TR_NOOP("设置通信与采集参数!"));
    connect(apply, &QPushButton::clicked, this, &OrsanSensorMonitorDlg::ApplyInterval);

    group(QT_TR_NOOP("通信状态"), 338 + dx, 48, 108, 24);
    label(QT_TR_NOOP("ModbusTcp轮询状态："), 343 + dx, 59, 76, 8);
    pollingLamp_ = ui.Place(new DxAlarmStatic(this), 421 + dx, 58, 18, 10, kPollingLamp);

    tabs_ = ui.Place(new XTabCtrl(this), 2, 74, 551, 252, kTabControl);

    // Its own row under the tab strip: the eight tab captions fill theirs.
    serverButton_ = ui.Place(new ServerStatusButton(this), 2, 328, 200, 12);
    connect(serverButton_, &QPushButton::clicked, this, &OrsanSensorMonitorDlg::OpenServerSettings);
}

void OrsanSensorMonitorDlg::RetranslateTexts() {
    setWindowTitle(LoadTitle(info_));
    texts_.Retranslate();
    tabs_->ChangeTab(0, nullptr, tr("总览"), 8);
    tabs_->ChangeTab(kRecordTab, nullptr, tr("长时数据记录"), 7);
    alarms_->RetranslateTexts();
    ShowMachines();
}

void OrsanSensorMonitorDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
    QDialog::changeEvent(event);
}

void OrsanSensorMonitorDlg::ChooseLanguage(UiLanguage language) {
    QString error;
    if (!UseLanguage(language, &error)) {
        language_->setCurrentIndex(IsEnglishShown() ? 1 : 0);
        ShowMessage(error);
        return;
    }
    if (!SaveLanguage(config_, language))
        ShowMessage(
            tr("语言已切换，但无法写入配置文件%1，下次启动时将恢复原设置!").arg(config_.Path()));
}

void OrsanSensorMonitorDlg::BuildTabs() {
    tabs_->SetImageList(ResourcePixmap(133));
    // Pages sit at (2, 1), over the top edge, so the captions run along the bottom.
    tabs_->SetTabPosition(QTabWidget::South);
    tabs_->SetFixedPagePlacement(true);
    // Below one second the trend follows the record interval itself.
    const float trendInterval =
        loaded_.intervalWholeSeconds > 0 ? float(loaded_.intervalWholeSeconds) : interval_;
    // First, so the station opens on it.
    overview_ = new OverviewPage(tabs_);
    // Captions without the blanks around them: the row holds nine tabs now.
    tabs_->AddTab(overview_, QString(), 8);
    connect(overview_, &OverviewPage::machineChosen, this,
            [this](int sensor) { tabs_->SelectTab(PanelTab(sensor)); });
    for (int i = 0; i < kSensorCount; ++i) {
        panels_[i] = new PannelDlg(i, paths_, live_, intervalWholeSeconds_, tabs_);
        panels_[i]->SetTrendInterval(trendInterval);
        tabs_->AddTab(panels_[i], SensorTabCaption(i + 1, QString()), i);
    }
    recordPage_ = new DatabaseLogDlg(database_, paths_.desktopDir, tabs_);
    recordPage_->SetChartIniPath(paths_.DataFile(QStringLiteral("Chart.ini")));
    // The report opens on yesterday whatever day the history shows.
    recordPage_->History()->SetDailyReportAction(
        [this](QDate) { ChooseAndWriteDailyReport(this, paths_.dataDir, paths_.desktopDir); });
    tabs_->AddTab(recordPage_, QString(), 7);
    alarms_->AddPage(tabs_);
}

void OrsanSensorMonitorDlg::SetFastIntervalEverywhere(float interval) {
    const int fast = interval < 1.0f ? 1 : 0;
    for (PannelDlg* panel : panels_) panel->SetFastInterval(fast);
    recordPage_->SetFastInterval(fast);
}

void OrsanSensorMonitorDlg::ShowInterval(float seconds) {
    intervalEdit_->setText(QString::asprintf("%.6g", double(seconds)));
}

void OrsanSensorMonitorDlg::TellPanelItsLink(int sensorNumber, const SensorStatus& status) {
    panels_[sensorNumber - 1]->SetLink(LinkOf(status, poller_.IsPolling()));
}

void OrsanSensorMonitorDlg::ShowMachines() {
    for (int n = 1; n <= kSensorCount; ++n) {
        const QString& name = names_[size_t(n - 1)];
        tabs_->ChangeTab(PanelTab(n), nullptr, SensorTabCaption(n, name), n - 1);
        panels_[size_t(n - 1)]->SetMachineName(name);
    }
    overview_->SetMachines(names_, addresses_);
    recordPage_->SetSensorNames(names_);
    alarms_->SetSensorNames(names_);
}

void OrsanSensorMonitorDlg::Refresh() {
    // One copy per sensor serves the values, the lamps and the alarms alike.
    const auto statuses = PollerStatuses(poller_);
    for (int n = 1; n <= kSensorCount; ++n) {
        const SensorStatus& status = statuses[size_t(n - 1)];
        const MeasurementRecord& record = status.record;
        FillLiveValues(live_, n, record);
        TellPanelItsLink(n, status);
        // Grey while its parameter dialog holds the sensor: not polled, not failed.
        lamps_[n - 1]->SetState(status.paused ? DxAlarmStatic::kIdleState : record.CommOk ? 1 : 0);
        parameterButtons_[n - 1]->setEnabled(record.CommOk);
        waveformButtons_[n - 1]->setEnabled(record.CommOk);
    }
    pollingLamp_->SetState(poller_.IsPolling() ? 1 : 0);
    alarms_->Refresh(statuses, addresses_, interval_);
    for (int n = 1; n <= kSensorCount; ++n)
        overview_->ShowReading(n, live_[size_t(n - 1)], panels_[size_t(n - 1)]->Link().state,
                               alarms_->Monitor().Zones()[size_t(n - 1)]);
    serverButton_->Show(store_.Status());
}

void OrsanSensorMonitorDlg::RecordTick() {
    // Not live_: the refresh before may predate a reading this copy already calls fresh.
    recordPage_->WriteRecord(BuildRecordRowNow(TakeReadingSnapshot(poller_, interval_)));
    store_.Wake();
}

bool OrsanSensorMonitorDlg::ConfirmClose() {
    const int64_t backlog = store_.Status().backlog;
    const bool recording = recordPage_->IsRecording();
    const QString activeAlarms = alarms_->ActiveAlarmsWarning();
    // Alarm events held for a full disk get one more chance; what is still
    // held is lost with the stop, and the operator is told so.
    AlarmMonitor& alarms = alarms_->Monitor();
    const bool losesAlarms = alarms.HoldsWrites() && !alarms.WriteHeldNow();
    if (!recording && backlog <= 0 && activeAlarms.isEmpty() && !losesAlarms) return true;
    QString question = recording ? tr("正在记录数据，确定退出吗？") : tr("确定退出吗？");
    if (!activeAlarms.isEmpty()) question.prepend(activeAlarms + QLatin1Char('\n'));
    if (backlog > 0)
        question += QLatin1Char('\n') + tr("还有%1条记录等待发送到服务器。").arg(backlog);
    if (losesAlarms) question += QLatin1Char('\n') + alarms.LostAtStopText();
    return AskYesNo(question);
}

void OrsanSensorMonitorDlg::closeEvent(QCloseEvent* event) {
    if (!ConfirmClose()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void OrsanSensorMonitorDlg::SaveAddresses() {
    for (int i = 0; i < kSensorCount; ++i) {
        addresses_[i] = addressEdits_[i]->Address();
        names_[i] = nameEdits_[i]->text().trimmed();
    }
    const bool addressesSaved = orsan::SaveAddresses(config_, addresses_);
    const bool saved = SaveSensorNames(config_, names_) && addressesSaved;
    ShowMachines();
    StartStationPolling(poller_, addresses_, loaded_.ports, loaded_.links);
    // Rows from here on are forwarded for these sensors; a failure is on
    // stderr and shows again at the next write.
    if (database_.CanWrite()) database_.NoteConfiguredSensors(ConfiguredSensors(addresses_));
    store_.SetMachines(addresses_, names_);
    if (saved) {
        ShowMessage(tr("传感器IP地址信息更新成功!"));
    } else {
        ShowMessage(tr("传感器IP地址已生效，但无法写入配置文件%1，下次启动时将恢复原地址!")
                        .arg(config_.Path()));
    }
}

void OrsanSensorMonitorDlg::ApplyInterval() {
    bool isNumber = false;
    const float entered = intervalEdit_->text().trimmed().toFloat(&isNumber);
    if (!isNumber || !IsAcceptableInterval(entered)) {
        ShowMessage(tr("趋势记录只能设置在1-1800s内，请重新设置"));
        interval_ = float(intervalWholeSeconds_);
        ShowInterval(interval_);
        return;
    }
    interval_ = entered;
    const int whole = int(entered);
    intervalWholeSeconds_ = whole;
    const bool saved = SaveInterval(config_, entered);
    SetFastIntervalEverywhere(entered);
    recordTimer_.start(TimerPeriod(entered));
    for (PannelDlg* panel : panels_) panel->SetTrendInterval(float(whole));
    if (saved) {
        ShowMessage(tr("修改成功，已立即生效!"));
    } else {
        ShowMessage(tr("记录间隔已生效，但无法写入配置文件%1，下次启动时将恢复原设置!")
                        .arg(config_.Path()));
    }
}

void OrsanSensorMonitorDlg::OpenServerSettings() {
    ServerSettingsDlg dialog(config_.Path(), this);
    if (dialog.exec() == QDialog::Accepted) ApplyServerSettings(dialog.Settings());
}

void OrsanSensorMonitorDlg::ApplyServerSettings(const ServerSettings& settings) {
    store_.Start(settings, addresses_, names_);
    serverButton_->Show(store_.Status());
}

void OrsanSensorMonitorDlg::OpenParameterDialog(int sensorNumber) {
    const int i = sensorNumber - 1;
    orsan::OpenParameterDialog(
        this, poller_, sensorNumber,
        LinkedEndpoint(loaded_.links, sensorNumber, addresses_[i], loaded_.ports[i]),
        live_[i][kSlotRunningSpeed], names_[i]);
}

void OrsanSensorMonitorDlg::OpenWaveformDialog(int sensorNumber) {
    // Polling goes on while a waveform is captured.
    WavDaqDlg dialog(addresses_[sensorNumber - 1], paths_.desktopDir, this);
    // The spectrum's orders and the sensor's own velocities, as polled when it analyses.
    dialog.SetLiveReadings([this, sensorNumber] {
        const ReadingSnapshot snapshot = TakeReadingSnapshot(poller_, interval_);
        const LiveRow& row = snapshot.values[size_t(sensorNumber - 1)];
        SensorLiveReading reading;
        reading.fresh = snapshot.fresh[size_t(sensorNumber - 1)];
        reading.runningSpeedHz = reading.fresh ? row[kSlotRunningSpeed] : 0.0;
        reading.velocityRms = {row[kSlotVelX], row[kSlotVelY], row[kSlotVelZ]};
        return reading;
    });
    dialog.exec();
}

}  // namespace orsan
