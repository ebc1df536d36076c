#include "OrsanSensorMonitorDlg.h"

#include <QDateTime>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "DatabaseLogDlg.h"
#include "DesktopShell.h"
#include "DialogUnits.h"
#include "DxAlarmStatic.h"
#include "EnterEscapeFilter.h"
#include "Ipv4AddressEdit.h"
#include "MessageDlg.h"
#include "OpenParameterDialog.h"
#include "PannelDlg.h"
#include "RecordRow.h"
#include "Resources.h"
#include "SensorPoller.h"
#include "ServerSettingsDlg.h"
#include "ServerStatusButton.h"
#include "StationPolling.h"
#include "WavDaqDlg.h"
#include "XTabCtrl.h"

namespace orsan {

namespace {

// Control ids, in sensor order 1 to 6.
constexpr int kAddressIds[kSensorCount] = {1084, 1085, 1086, 1087, 1088, 1089};
constexpr int kLampIds[kSensorCount] = {1059, 1060, 1061, 1056, 1057, 1058};
constexpr int kFirstParameterButton = 1012;
constexpr int kFirstWaveformButton = 1018;
constexpr int kSaveAddressesButton = 1011;
constexpr int kIntervalEdit = 1031;
constexpr int kApplyIntervalButton = 1033;
constexpr int kPollingLamp = 1055;
constexpr int kTabControl = 1010;

constexpr int kDialogWidth = 555;
constexpr int kDialogHeight = 327;

QString IdName(int id) {
    return QStringLiteral("id%1").arg(id);
}

// A timer period of 0 ms runs at the shortest period, 10 ms.
int TimerPeriod(float seconds) {
    const int ms = int(seconds * 1000.0f);
    return ms > 0 ? ms : 10;
}

}  // namespace

OrsanSensorMonitorDlg::OrsanSensorMonitorDlg(const StationPaths& paths, SensorPoller& poller,
                                             RecordDatabase& database, QWidget* parent)
    : QDialog(parent), paths_(paths), poller_(poller), database_(database), store_(paths.dataDir) {
    setWindowIcon(ResourceIcon(128));
    setWindowFlags(windowFlags() | Qt::WindowMinimizeButtonHint);
    setFont(DialogFont());
    ConsumeEnterEscape(this);

    info_.SetPath(InfoPath(paths_.dataDir));
    setWindowTitle(LoadTitle(info_));

    config_.SetPath(ConfigPath(paths_.dataDir));
    loaded_ = LoadStationConfig(config_);
    interval_ = loaded_.interval;
    addresses_ = loaded_.addresses;
    intervalWholeSeconds_ = loaded_.intervalWholeSeconds;

    BuildControls();
    ShowInterval(interval_);
    BuildTabs();
    SetFastIntervalEverywhere(interval_);
    for (int i = 0; i < kSensorCount; ++i) addressEdits_[i]->SetAddress(addresses_[i]);

    StartStationPolling(poller_, addresses_, loaded_.ports);
    store_.Start(LoadServerSettings(config_), addresses_);

    parameterTool_ = [this](int n) { OpenParameterDialog(n); };
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

void OrsanSensorMonitorDlg::BuildControls() {
    const DialogUnits du(font());
    setFixedSize(du.Size(kDialogWidth, kDialogHeight));
    auto place = [&](QWidget* widget, int x, int y, int w, int h) {
        widget->setGeometry(du.Rect(x, y, w, h));
    };
    auto label = [&](const QString& text, int x, int y, int w, int h) {
        auto* l = new QLabel(text, this);
        place(l, x, y, w, h);
        return l;
    };
    auto group = [&](const QString& title, int x, int y, int w, int h) {
        auto* g = new QGroupBox(title, this);
        place(g, x, y, w, h);
        g->lower();
        return g;
    };
    auto button = [&](int id, const QString& text, int icon, const QString& tip) {
        auto* b = new QPushButton(ResourceIcon(icon), text, this);
        b->setObjectName(IdName(id));
        b->setToolTip(tip);
        b->setAutoDefault(false);
        b->setDefault(false);
        b->setIconSize(QSize(16, 16));
        return b;
    };

    group(QStringLiteral("传感器地址设置"), 3, 2, 331, 70);
    for (int i = 0; i < kSensorCount; ++i) {
        const int x0 = 8 + (i / 3) * 163;
        const int y = 12 + (i % 3) * 15;
        label(QStringLiteral("%1#传感器IP:").arg(i + 1), x0, y + 2, 42, 8);
        addressEdits_[i] = new Ipv4AddressEdit(this);
        addressEdits_[i]->setObjectName(IdName(kAddressIds[i]));
        place(addressEdits_[i], x0 + 43, y, 74, 12);
        lamps_[i] = new DxAlarmStatic(this);
        lamps_[i]->setObjectName(IdName(kLampIds[i]));
        place(lamps_[i], x0 + 120, y + 2, 8, 8);
        parameterButtons_[i] =
            button(kFirstParameterButton + i, QString(), 163, QStringLiteral("配置传感器参数!"));
        place(parameterButtons_[i], x0 + 131, y - 1, 14, 13);
        waveformButtons_[i] =
            button(kFirstWaveformButton + i, QString(), 164, QStringLiteral("读取传感器波形!"));
        place(waveformButtons_[i], x0 + 147, y - 1, 14, 13);
        connect(parameterButtons_[i], &QPushButton::clicked, this,
                [this, i] { parameterTool_(i + 1); });
        connect(waveformButtons_[i], &QPushButton::clicked, this,
                [this, i] { waveformTool_(i + 1); });
    }
    auto* note =
        label(QStringLiteral("注意：请确保IP1-IP6无重复项存在，如不知道IP地址请填0.0.0.0！"), 8, 55,
              270, 14);
    note->setWordWrap(true);
    note->setStyleSheet(QStringLiteral("color: rgb(255, 0, 0);"));
    auto* save = button(kSaveAddressesButton, QStringLiteral("修改"), 143,
                        QStringLiteral("设置传感器地址!"));
    place(save, 281, 55, 48, 14);
    connect(save, &QPushButton::clicked, this, &OrsanSensorMonitorDlg::SaveAddresses);

    group(QStringLiteral("采集时间间隔设置"), 338, 2, 108, 44);
    label(QStringLiteral("趋势记录间隔:"), 343, 15, 50, 8);
    intervalEdit_ = new QLineEdit(this);
    intervalEdit_->setObjectName(IdName(kIntervalEdit));
    place(intervalEdit_, 393, 13, 30, 12);
    label(QStringLiteral("s/次"), 425, 15, 18, 8);
    label(QStringLiteral("范围:1-1800s"), 343, 31, 50, 8);
    auto* apply = button(kApplyIntervalButton, QStringLiteral("调整"), 136,
                         QStringLiteral("设置通信与采集参数!"));
    place(apply, 395, 28, 47, 14);
    connect(apply, &QPushButton::clicked, this, &OrsanSensorMonitorDlg::ApplyInterval);

    group(QStringLiteral("通信状态"), 338, 48, 108, 24);
    label(QStringLiteral("ModbusTcp轮询状态："), 343, 59, 76, 8);
    pollingLamp_ = new DxAlarmStatic(this);
    pollingLamp_->setObjectName(IdName(kPollingLamp));
    place(pollingLamp_, 421, 58, 18, 10);

    group(QStringLiteral("传感器接线图"), 450, 2, 102, 70);
    auto* wiring = new QLabel(this);
    place(wiring, 454, 11, 94, 58);
    wiring->setPixmap(ResourcePixmap(130, wiring->size()));

    tabs_ = new XTabCtrl(this);
    tabs_->setObjectName(IdName(kTabControl));
    place(tabs_, 2, 74, 551, 252);

    // Beside the tab captions, which leave the right end of their row free.
    serverButton_ = new ServerStatusButton(this);
    place(serverButton_, 453, 314, 100, 12);
    serverButton_->raise();
    connect(serverButton_, &QPushButton::clicked, this, &OrsanSensorMonitorDlg::OpenServerSettings);
}

void OrsanSensorMonitorDlg::BuildTabs() {
    tabs_->SetImageList(ResourcePixmap(133));
    // Pages sit at (2, 1), over the top edge, so the captions run along the bottom.
    tabs_->SetTabPosition(QTabWidget::South);
    tabs_->SetFixedPagePlacement(true);
    // Below one second the trend follows the record interval itself.
    const float trendInterval =
        loaded_.intervalWholeSeconds > 0 ? float(loaded_.intervalWholeSeconds) : interval_;
    for (int i = 0; i < kSensorCount; ++i) {
        panels_[i] = new PannelDlg(i, paths_, live_, intervalWholeSeconds_, tabs_);
        panels_[i]->SetTrendInterval(trendInterval);
        tabs_->AddTab(panels_[i], QStringLiteral("  传感器【%1】 ").arg(i + 1), i);
    }
    recordPage_ = new DatabaseLogDlg(database_, paths_.desktopDir, tabs_);
    tabs_->AddTab(recordPage_, QStringLiteral("  长时数据记录  "), 7);
}

void OrsanSensorMonitorDlg::SetFastIntervalEverywhere(float interval) {
    const int fast = interval < 1.0f ? 1 : 0;
    for (PannelDlg* panel : panels_) panel->SetFastInterval(fast);
    recordPage_->SetFastInterval(fast);
}

void OrsanSensorMonitorDlg::ShowInterval(float seconds) {
    intervalEdit_->setText(QString::asprintf("%.6g", double(seconds)));
}

void OrsanSensorMonitorDlg::Refresh() {
    for (int n = 1; n <= kSensorCount; ++n) {
        const MeasurementRecord record = poller_.GetMeasurement(n);
        FillLiveValues(live_, n, record);
        lamps_[n - 1]->SetState(record.CommOk ? 1 : 0);
        parameterButtons_[n - 1]->setEnabled(record.CommOk);
        waveformButtons_[n - 1]->setEnabled(record.CommOk);
    }
    pollingLamp_->SetState(poller_.IsPolling() ? 1 : 0);
    serverButton_->Show(store_.Status());
}

void OrsanSensorMonitorDlg::RecordTick() {
    recordPage_->WriteRecord(BuildRecordRowNow(live_));
    store_.Wake();
}

void OrsanSensorMonitorDlg::SaveAddresses() {
    for (int i = 0; i < kSensorCount; ++i) addresses_[i] = addressEdits_[i]->Address();
    const bool saved = orsan::SaveAddresses(config_, addresses_);
    StartStationPolling(poller_, addresses_, loaded_.ports);
    store_.SetAddresses(addresses_);
    if (saved) {
        ShowMessage(QStringLiteral("传感器IP地址信息更新成功!"));
    } else {
        ShowMessage(
            QStringLiteral("传感器IP地址已生效，但无法写入配置文件%1，下次启动时将恢复原地址!")
                .arg(config_.Path()));
    }
}

void OrsanSensorMonitorDlg::ApplyInterval() {
    bool isNumber = false;
    const float entered = intervalEdit_->text().trimmed().toFloat(&isNumber);
    if (!isNumber || !IsAcceptableInterval(entered)) {
        ShowMessage(QStringLiteral("趋势记录只能设置在1-1800s内，请重新设置"));
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
        ShowMessage(QStringLiteral("修改成功，已立即生效!"));
    } else {
        ShowMessage(QStringLiteral("记录间隔已生效，但无法写入配置文件%1，下次启动时将恢复原设置!")
                        .arg(config_.Path()));
    }
}

void OrsanSensorMonitorDlg::OpenServerSettings() {
    ServerSettingsDlg dialog(config_.Path(), this);
    if (dialog.exec() == QDialog::Accepted) ApplyServerSettings(dialog.Settings());
}

void OrsanSensorMonitorDlg::ApplyServerSettings(const ServerSettings& settings) {
    store_.Start(settings, addresses_);
    serverButton_->Show(store_.Status());
}

void OrsanSensorMonitorDlg::OpenParameterDialog(int sensorNumber) {
    const int i = sensorNumber - 1;
    orsan::OpenParameterDialog(this, poller_, addresses_[i], loaded_.ports[i],
                               live_[i][kSlotRunningSpeed]);
}

void OrsanSensorMonitorDlg::OpenWaveformDialog(int sensorNumber) {
    // Polling goes on while a waveform is captured.
    WavDaqDlg dialog(addresses_[sensorNumber - 1], paths_.desktopDir, this);
    dialog.exec();
}

}  // namespace orsan
