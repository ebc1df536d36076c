#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTabBar>
#include <QTest>
#include <functional>

#include "DatabaseLogDlg.h"
#include "DesktopShell.h"
#include "DxAlarmStatic.h"
#include "DxChartTrend.h"
#include "IniFile.h"
#include "Ipv4AddressEdit.h"
#include "MessageDlg.h"
#include "MessageHook.h"
#include "OverviewPage.h"
#include "PannelDlg.h"
#include "RecordRow.h"
#include "ServerStatusButton.h"
#include "SetChartDlg.h"
#include "SetExpDlg.h"
#include "SetShowDlg.h"
#include "SettingParsDlg.h"
#include "SimProcess.h"
#include "StationConfig.h"
#include "StationWindowTest.h"
#include "WavDaqDlg.h"
#include "XTabCtrl.h"

namespace orsan {
namespace {

class MainWindowTest : public test::StationWindowTest {
protected:
    std::vector<int> parameterOpened;
    std::vector<int> waveformOpened;

    void Prepare(OrsanSensorMonitorDlg& dlg) override {
        dlg.SetParameterTool([this](int n) { parameterOpened.push_back(n); });
        dlg.SetWaveformTool([this](int n) { waveformOpened.push_back(n); });
    }

    void WriteConfig(const QString& key, const QString& value, const QString& section = "SENSOR") {
        INIFILE config(ConfigPath(dataDir.path()));
        ASSERT_TRUE(config.WriteString(section, key, value));
    }

    void PointSensorAt(int n, const test::SimSensor& sensor) {
        const QStringList octets = QString::fromStdString(sensor.address).split('.');
        for (int k = 1; k <= 4; ++k) WriteConfig(OctetKey(n, k), octets[k - 1]);
        WriteConfig(PortKey(n), QString::number(sensor.modbusPort));
    }

    template <typename T>
    T* Control(int id) const {
        T* control = window->findChild<T*>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(control, nullptr) << id;
        return control;
    }

    // Types an interval and presses "调整"; returns the message shown.
    QString ApplyInterval(const QString& text) {
        ScopedMessageHook hook;
        Control<QLineEdit>(1031)->setText(text);
        QTest::mouseClick(Control<QPushButton>(1033), Qt::LeftButton);
        return hook.Messages().value(0);
    }
};

TEST_F(MainWindowTest, BuildsEveryControlWithItsIdCaptionAndToolTip) {
    OpenWindow();
    EXPECT_EQ(window->windowTitle(),
              QString::fromUtf8("网络版三轴振动温度智能传感器【ModbusTcp接口，端口502】 V1.8"));
    for (int id = 1084; id <= 1089; ++id) Control<Ipv4AddressEdit>(id);
    for (int id : test::kLampIds) EXPECT_FALSE(Control<DxAlarmStatic>(id)->IsOn());
    for (int n = 0; n < kSensorCount; ++n) {
        EXPECT_EQ(Control<QPushButton>(1012 + n)->toolTip(), QString::fromUtf8("配置传感器参数!"));
        EXPECT_EQ(Control<QPushButton>(1018 + n)->toolTip(), QString::fromUtf8("读取传感器波形!"));
        EXPECT_TRUE(Control<QPushButton>(1012 + n)->isEnabled());  // until the first refresh
        EXPECT_FALSE(Control<QPushButton>(1012 + n)->icon().isNull());
    }
    EXPECT_EQ(Control<QPushButton>(1011)->text(), QString::fromUtf8("修改"));
    EXPECT_EQ(Control<QPushButton>(1011)->toolTip(), QString::fromUtf8("设置传感器地址!"));
    EXPECT_EQ(Control<QPushButton>(1033)->text(), QString::fromUtf8("调整"));
    EXPECT_EQ(Control<QPushButton>(1033)->toolTip(), QString::fromUtf8("设置通信与采集参数!"));
    Control<DxAlarmStatic>(1055);
    // Fixed size: it minimises but never maximises.
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);

    XTabCtrl* tabs = Control<XTabCtrl>(1010);
    ASSERT_EQ(tabs->Count(), 9);  // the overview first, the alarm page last
    EXPECT_EQ(tabs->Caption(0), QString::fromUtf8("总览"));
    EXPECT_EQ(tabs->Caption(1), QString::fromUtf8("传感器【1】"));
    EXPECT_EQ(tabs->Caption(6), QString::fromUtf8("传感器【6】"));
    EXPECT_EQ(tabs->Caption(7), QString::fromUtf8("长时数据记录"));
    EXPECT_EQ(tabs->ImageIndex(7), 7);
    EXPECT_EQ(tabs->CurrentIndex(), 0);
    EXPECT_FALSE(window->Panel(0)->isVisible());
    EXPECT_FALSE(window->RecordPage()->isVisible());
    tabs->SelectTab(1);
    EXPECT_TRUE(window->Panel(0)->isVisible());
    tabs->SelectTab(7);
    EXPECT_FALSE(window->Panel(0)->isVisible());
    EXPECT_TRUE(window->RecordPage()->isVisible());
    for (int i = 0; i < kSensorCount; ++i) EXPECT_EQ(window->Panel(i)->SensorIndex(), i);
}

TEST_F(MainWindowTest, MachineNamesBesideTheAddressesReachTabsPanelsAndTiles) {
    WriteConfig("ID2IP1", "10");
    WriteConfig("ID2NAME", QString::fromUtf8("P-102 给水泵"));
    OpenWindow();
    XTabCtrl* tabs = window->Tabs();
    OverviewPage* overview = window->Overview();
    EXPECT_EQ(Control<QLineEdit>(1091)->text(), QString::fromUtf8("P-102 给水泵"));
    EXPECT_EQ(tabs->Caption(1), QString::fromUtf8("传感器【1】"));
    EXPECT_EQ(tabs->Caption(2), QString::fromUtf8("2# P-102 给水泵"));
    EXPECT_EQ(window->Panel(0)->Header()->text(), QString::fromUtf8("传感器1"));
    EXPECT_EQ(window->Panel(1)->Header()->text(), QString::fromUtf8("2# P-102 给水泵"));
    EXPECT_FALSE(overview->Tile(1)->isVisible());  // 0.0.0.0: no machine
    EXPECT_TRUE(overview->Tile(2)->isVisible());
    EXPECT_EQ(overview->Tile(2)->Title(), QString::fromUtf8("P-102 给水泵"));
    EXPECT_EQ(overview->Tile(2)->VelocityText(), "--");  // never read

    // Typed beside the addresses, saved with them, shown at once. A name too
    // long for the tab row shortens only its own caption, whole in its tip.
    const QString longName(40, QChar(0x6CF5));
    for (int n = 1; n <= kSensorCount; ++n)
        Control<QLineEdit>(1089 + n)->setText(n == 6 ? longName : QStringLiteral("  M-%1 ").arg(n));
    Control<Ipv4AddressEdit>(1084)->SetAddress(MakeAddress(127, 0, 0, 9));
    {
        ScopedMessageHook hook;
        QTest::mouseClick(Control<QPushButton>(1011), Qt::LeftButton);
    }
    INIFILE config(ConfigPath(dataDir.path()));
    EXPECT_EQ(config.GetString("SENSOR", "ID1NAME", ""), "M-1");
    EXPECT_EQ(config.GetString("SENSOR", "ID6NAME", ""), longName);
    EXPECT_EQ(tabs->Caption(1), "1# M-1");
    EXPECT_EQ(window->Panel(5)->Header()->toolTip(), "6# " + longName);
    EXPECT_TRUE(overview->Tile(1)->isVisible());
    EXPECT_EQ(overview->Tile(1)->Title(), "M-1");
    QTabBar* bar = tabs->TabBar();
    for (int i = 0; i < tabs->Count(); ++i) EXPECT_TRUE(bar->rect().contains(bar->tabRect(i))) << i;
    EXPECT_EQ(bar->tabToolTip(6), "6# " + longName);
    EXPECT_TRUE(bar->tabToolTip(1).isEmpty());
    if (!qEnvironmentVariableIsEmpty("ORSAN_GRAB_DIR")) {
        tabs->SelectTab(2);
        window->grab().save(qEnvironmentVariable("ORSAN_GRAB_DIR") + "/named-panel.png");
    }
}

TEST_F(MainWindowTest, TitleAndSettingsComeFromTheDataFolder) {
    INIFILE info(InfoPath(dataDir.path()));
    ASSERT_TRUE(info.WriteString("TITLE", "NAME", QString::fromUtf8("二号机组")));
    WriteConfig("INTERVAL", "2.5", "DAQ");
    WriteConfig("ID2IP1", "300");
    OpenWindow();
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("二号机组"));
    EXPECT_EQ(Control<QLineEdit>(1031)->text(), "2.5");
    EXPECT_EQ(window->RecordTimerPeriod(), 2500);
    EXPECT_EQ(window->IntervalWholeSeconds(), 2);
    EXPECT_EQ(window->Panel(3)->TrendTimerPeriod(), 2000);
    // Refused, not wrapped to 44: the sensor stays unconfigured.
    EXPECT_EQ(Control<Ipv4AddressEdit>(1085)->Address(), 0u);
}

// The default runs fast and cannot be typed back in; then the rules for
// typed intervals, through the real controls.
TEST_F(MainWindowTest, DefaultIntervalAndIntervalRules) {
    OpenWindow();
    const QString rejected = QString::fromUtf8("趋势记录只能设置在1-1800s内，请重新设置");
    const QString accepted = QString::fromUtf8("修改成功，已立即生效!");
    EXPECT_EQ(Control<QLineEdit>(1031)->text(), "0.3");
    EXPECT_EQ(window->RecordTimerPeriod(), 300);
    EXPECT_EQ(window->Panel(0)->TrendTimerPeriod(), 300);
    EXPECT_EQ(ApplyInterval("0.3"), rejected);
    EXPECT_EQ(Control<QLineEdit>(1031)->text(), "0");  // the whole-second value in force
    EXPECT_EQ(window->RecordTimerPeriod(), 300);

    INIFILE config(ConfigPath(dataDir.path()));

    EXPECT_EQ(ApplyInterval("1800"), accepted);
    EXPECT_EQ(config.GetString("DAQ", "INTERVAL", ""), "1800.0");
    EXPECT_EQ(window->RecordTimerPeriod(), 1800000);

    for (const char* bad : {"0.9999", "0.99", "1800.5", "abc", "", "-5", "nan"}) {
        EXPECT_EQ(ApplyInterval(bad), rejected) << bad;
        EXPECT_EQ(Control<QLineEdit>(1031)->text(), "1800") << bad;
        EXPECT_EQ(config.GetString("DAQ", "INTERVAL", ""), "1800.0") << bad;
        EXPECT_EQ(window->RecordTimerPeriod(), 1800000) << bad;
    }

    EXPECT_EQ(ApplyInterval("1"), accepted);
    EXPECT_EQ(config.GetString("DAQ", "INTERVAL", ""), "1.0");
    EXPECT_EQ(ApplyInterval("2.5"), accepted);
    EXPECT_EQ(window->RecordTimerPeriod(), 2500);
    EXPECT_EQ(window->IntervalWholeSeconds(), 2);
    for (int i = 0; i < kSensorCount; ++i) EXPECT_EQ(window->Panel(i)->TrendTimerPeriod(), 2000);
}

TEST_F(MainWindowTest, EnterAndEscapeNeverCloseTheWindow) {
    OpenWindow();
    Control<QLineEdit>(1031)->setText("5");
    for (QWidget* target :
         {static_cast<QWidget*>(window.get()), static_cast<QWidget*>(Control<QLineEdit>(1031))}) {
        for (int key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            ScopedMessageHook hook;
            QTest::keyClick(target, Qt::Key(key));
            EXPECT_TRUE(window->isVisible());
            EXPECT_TRUE(hook.Messages().isEmpty());  // Enter does not apply the interval
        }
    }
    EXPECT_EQ(window->RecordTimerPeriod(), 300);
}

TEST_F(MainWindowTest, SavedAddressesAreWrittenAndPollingRestarts) {
    OpenWindow();
    Control<Ipv4AddressEdit>(1084)->SetAddress(MakeAddress(127, 0, 0, 8));
    Control<Ipv4AddressEdit>(1089)->SetAddress(MakeAddress(127, 0, 0, 9));
    {
        ScopedMessageHook hook;
        QTest::mouseClick(Control<QPushButton>(1011), Qt::LeftButton);
        EXPECT_EQ(hook.Messages(), QStringList{QString::fromUtf8("传感器IP地址信息更新成功!")});
    }
    INIFILE config(ConfigPath(dataDir.path()));
    EXPECT_EQ(config.GetInt("SENSOR", "ID1IP1"), 127);
    EXPECT_EQ(config.GetInt("SENSOR", "ID1IP4"), 8);
    EXPECT_EQ(config.GetInt("SENSOR", "ID6IP4"), 9);
    EXPECT_EQ(config.GetInt("SENSOR", "ID3IP2"), 0);
    EXPECT_EQ(window->SensorAddresses()[0], MakeAddress(127, 0, 0, 8));
    EXPECT_TRUE(poller.IsPolling());
}

// Pressing 修改 restarts polling; the refresh and the record timer that
// follow at once must still see the healthy sensors' last values.
TEST_F(MainWindowTest, SavingAddressesRecordsNoFalseZeros) {
    test::SimProcess sim(test::kTwoSimSensors);
    for (int n : {1, 2}) PointSensorAt(n, sim.Sensor(n));
    ASSERT_TRUE(database.Open(dataDir.path()));
    OpenWindow();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return poller.GetMeasurement(1).CommOk && poller.GetMeasurement(2).CommOk; }, 10000));
    window->Refresh();
    window->RecordPage()->StartRecording();
    for (int press = 0; press < 3; ++press) {
        ScopedMessageHook hook;
        QTest::mouseClick(Control<QPushButton>(1011), Qt::LeftButton);
        window->Refresh();
        window->RecordTick();
        EXPECT_TRUE(Control<DxAlarmStatic>(1059)->IsOn()) << press;
    }
    QSqlQuery query(database.Connection());
    ASSERT_TRUE(query.exec("SELECT COUNT(*), MIN(Temp1), MIN(Temp2), MIN(Xvel1) FROM data"));
    ASSERT_TRUE(query.next());
    EXPECT_EQ(query.value(0).toInt(), 3);
    for (int column = 1; column < 4; ++column) EXPECT_GT(query.value(column).toDouble(), 0.0);
}

// A directory where Config.ini should be holds even against root: both
// changes take effect, and each message says the file was not written.
TEST_F(MainWindowTest, ConfigWriteFailuresAreSaidAndTheChangeStillTakesEffect) {
    ASSERT_TRUE(QDir().mkdir(ConfigPath(dataDir.path())));
    OpenWindow();
    Control<Ipv4AddressEdit>(1084)->SetAddress(MakeAddress(127, 0, 0, 8));
    ScopedMessageHook hook;
    QTest::mouseClick(Control<QPushButton>(1011), Qt::LeftButton);
    EXPECT_EQ(ApplyInterval("5"), QString::fromUtf8("记录间隔已生效，但无法写入配置文件") +
                                      ConfigPath(dataDir.path()) +
                                      QString::fromUtf8("，下次启动时将恢复原设置!"));
    ASSERT_EQ(hook.Messages().size(), 1);
    EXPECT_TRUE(hook.Messages()[0].startsWith(
        QString::fromUtf8("传感器IP地址已生效，但无法写入配置文件") + ConfigPath(dataDir.path())));
    EXPECT_EQ(window->SensorAddresses()[0], MakeAddress(127, 0, 0, 8));
    EXPECT_TRUE(poller.IsPolling());
    EXPECT_EQ(window->RecordTimerPeriod(), 5000);
    EXPECT_TRUE(QFileInfo(ConfigPath(dataDir.path())).isDir());
}

TEST_F(MainWindowTest, RecordTimerWritesRowsOnlyWhileRecording) {
    ASSERT_TRUE(database.Open(dataDir.path()));
    OpenWindow();
    // What the panels show is not what a row takes: a row copies the poller's table itself.
    window->Live()[3][kSlotTShell] = 31.26f;
    window->RecordTick();
    EXPECT_EQ(database.Count(), std::optional<qint64>(0));
    window->RecordPage()->StartRecording();
    window->RecordTick();
    window->RecordTick();
    EXPECT_EQ(database.Count(), std::optional<qint64>(2));
    QSqlQuery query(database.Connection());
    ASSERT_TRUE(query.exec("SELECT Temp4, Ok4 FROM data"));
    ASSERT_TRUE(query.next());
    EXPECT_DOUBLE_EQ(query.value(0).toDouble(), 0.0);
    EXPECT_EQ(query.value(1).toInt(), 0) << "no sensor ever answered: not a reading";
    window->RecordPage()->StopRecording();
    window->RecordTick();
    EXPECT_EQ(database.Count(), std::optional<qint64>(2));
    window->Live() = LiveValues{};
}

// After a restart each panel's trend starts with its recorded rows (by its
// own freshness), and a KEEP_DAYS that is not a number of days is refused
// with a message once the window is up, deleting nothing.
TEST_F(MainWindowTest, TrendsStartWithTheRecordedRowsAndABadKeepDaysIsRefused) {
    WriteConfig("KEEP_DAYS", "seven", "DAQ");
    ASSERT_TRUE(database.Open(dataDir.path()));
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    for (int i = 0; i < 5; ++i) {
        RecordRow row = BuildRecordRowAt(now - (60 - i) * 1000, LiveValues{});
        row.fresh[1] = i != 2;
        ASSERT_TRUE(database.Insert(row));
    }
    ScopedMessageHook hook;
    OpenWindow();
    for (const int panel : {0, 1}) {
        const TrendHistory& history = window->Panel(panel)->Chart()->Core().History();
        ASSERT_EQ(history.Count(), 5) << panel;
        for (int i = 0; i < 5; ++i) EXPECT_EQ(history.IsMeasured(i), panel == 0 || i != 2);
    }
    QCoreApplication::processEvents();
    ASSERT_EQ(hook.Messages().size(), 1);
    EXPECT_TRUE(hook.Messages()[0].contains("KEEP_DAYS=seven"));
    EXPECT_EQ(database.Count(), std::optional<qint64>(5));
}

// Recording resumes at the next start, with a line saying so; each start
// and stop is kept in Config.ini.
TEST_F(MainWindowTest, RecordingResumesAtTheNextStart) {
    WriteConfig("RECORD", "1", "DAQ");
    OpenWindow();
    DatabaseLogDlg* page = window->RecordPage();
    EXPECT_TRUE(page->IsRecording());
    EXPECT_EQ(page->StatusText(), "已恢复上次的记录");
    for (const bool on : {false, true}) {
        on ? page->StartRecording() : page->StopRecording();
        EXPECT_EQ(INIFILE(ConfigPath(dataDir.path())).GetInt("DAQ", "RECORD"), int(on));
        EXPECT_TRUE(page->StatusText().isEmpty());
    }
}

// Closing asks while recording or while rows wait for the server: "否"
// keeps the window; with neither it closes at once.
TEST_F(MainWindowTest, ClosingAsksWhileRecordingOrWithRowsForTheServer) {
    ASSERT_TRUE(database.Open(dataDir.path()));
    ASSERT_TRUE(database.Insert(RecordRow{}) && database.Insert(RecordRow{}));
    WriteConfig(OctetKey(1, 1), "127");
    OpenWindow();
    const auto close = [&](bool answer) {
        ScopedMessageHook hook(answer);
        window->show();
        window->close();
        return std::pair{hook.Questions().value(0), window->isVisible()};
    };
    EXPECT_EQ(close(false), std::pair(QString(), false));
    window->RecordPage()->StartRecording();
    const QString recording = QStringLiteral("正在记录数据，确定退出吗？");
    EXPECT_EQ(close(false), std::pair(recording, true));
    EXPECT_EQ(close(true), std::pair(recording, false));
    window->RecordPage()->StopRecording();
    // Two rows of one sensor and a server that never answers: they wait.
    window->ApplyServerSettings({"host=127.0.0.1 port=1 dbname=plant", "press-7"});
    ScopedMessageHook waiting(false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->ConfirmClose(); }, 30000));
    EXPECT_EQ(close(false),
              std::pair(QStringLiteral("确定退出吗？\n还有2条记录等待发送到服务器。"), true));
}

TEST_F(MainWindowTest, LampsAndButtonsFollowTheSensors) {
    test::SimProcess sim(test::kTwoSimSensors);
    for (int n : {1, 2}) PointSensorAt(n, sim.Sensor(n));
    OpenWindow();
    DxAlarmStatic* lamp1 = Control<DxAlarmStatic>(1059);
    DxAlarmStatic* lamp2 = Control<DxAlarmStatic>(1060);
    QPushButton* parameter1 = Control<QPushButton>(1012);
    QPushButton* waveform2 = Control<QPushButton>(1019);

    ASSERT_TRUE(QTest::qWaitFor([&] { return lamp1->IsOn() && lamp2->IsOn(); }, 10000));
    EXPECT_TRUE(parameter1->isEnabled());
    EXPECT_TRUE(waveform2->isEnabled());
    EXPECT_TRUE(Control<DxAlarmStatic>(1055)->IsOn());
    // Sensors 3 to 6 are at 0.0.0.0: never communicating.
    EXPECT_FALSE(Control<DxAlarmStatic>(1061)->IsOn());
    EXPECT_FALSE(Control<QPushButton>(1014)->isEnabled());
    EXPECT_GT(window->Live()[0][kSlotRunningSpeed], 1.0f);

    EXPECT_EQ(window->Panel(2)->Link().state, LinkState::Never);
    poller.SetPaused(1, true);  // as sensor 1's parameter dialog does
    window->Refresh();
    EXPECT_EQ(window->Panel(0)->Link().state, LinkState::Paused);
    EXPECT_TRUE(lamp1->IsIdle());
    EXPECT_EQ(window->Panel(1)->Link().state, LinkState::Ok);
    EXPECT_TRUE(lamp2->IsOn());
    EXPECT_EQ(window->Panel(2)->Link().state, LinkState::Never);
    poller.SetPaused(1, false);
    window->Refresh();
    EXPECT_TRUE(lamp1->IsOn());

    sim.SetFault(2, "silent");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !lamp2->IsOn(); }, 10000));
    // The panel keeps the values but knows they are old.
    EXPECT_EQ(window->Panel(1)->Link().state, LinkState::Stale);
    EXPECT_GT(window->Panel(1)->Link().lastGoodReadMs, 0);
    EXPECT_FALSE(waveform2->isEnabled());
    EXPECT_FALSE(Control<QPushButton>(1013)->isEnabled());
    EXPECT_GT(window->Live()[1][kSlotRunningSpeed], 1.0f);  // last values kept
    EXPECT_TRUE(lamp1->IsOn());

    sim.SetFault(2, "none");
    ASSERT_TRUE(QTest::qWaitFor([&] { return lamp2->IsOn(); }, 10000));
    EXPECT_TRUE(waveform2->isEnabled());

    QTest::mouseClick(parameter1, Qt::LeftButton);
    QTest::mouseClick(waveform2, Qt::LeftButton);
    EXPECT_EQ(parameterOpened, std::vector<int>{1});
    EXPECT_EQ(waveformOpened, std::vector<int>{2});
}

// Every dialog of the station has a close box and no minimise, maximise or
// help button.
TEST(WindowFrameTest, DialogsHaveOnlyACloseBox) {
    std::unique_ptr<QWidget> dialogs[] = {
        std::make_unique<MessageDlg>(),
        std::make_unique<YesnoMsgDlg>(),
        std::make_unique<SetChartDlg>(),
        std::make_unique<SetShowDlg>(),
        std::make_unique<SetExpDlg>(),
        std::make_unique<SettingParsDlg>(),
        std::make_unique<WavDaqDlg>(0u, QString()),
    };
    for (const auto& dialog : dialogs) {
        const Qt::WindowFlags flags = dialog->windowFlags();
        const char* name = dialog->metaObject()->className();
        EXPECT_EQ(flags & (Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint),
                  Qt::CustomizeWindowHint | Qt::WindowCloseButtonHint)
            << name;
        EXPECT_FALSE(flags & (Qt::WindowMinMaxButtonsHint | Qt::WindowContextHelpButtonHint))
            << name;
    }
}

TEST_F(MainWindowTest, ServerStateShowsBesideTheTabsAndFollowsNewSettings) {
    OpenWindow();
    ServerStatusButton* server = window->ServerButton();
    ASSERT_NE(server, nullptr);
    EXPECT_EQ(server->text(), "服务器: 未配置");

    // Nothing listens on port 1 of the loopback: the station retries, the
    // state and the reason show, and the window stays responsive.
    window->ApplyServerSettings({"host=127.0.0.1 port=1 dbname=plant", "press-7"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->text().startsWith("服务器: 重试中"); }, 30000))
        << server->text().toStdString();
    EXPECT_TRUE(server->text().endsWith("待发送 0 行")) << server->text().toStdString();
    EXPECT_TRUE(server->toolTip().contains(QRegularExpression("最近错误: .*port 1")))
        << server->toolTip().toStdString();

    window->ApplyServerSettings({"", "press-7"});
    EXPECT_EQ(server->text(), "服务器: 未配置");

    // A viewer of a folder with a server leaves the sending to its recorder.
    window.reset();
    ASSERT_TRUE(INIFILE(ConfigPath(dataDir.path()))
                    .WriteString("SERVER", "CONNINFO", "host=127.0.0.1 port=1 dbname=plant"));
    window = std::make_unique<OrsanSensorMonitorDlg>(StationPaths{dataDir.path(), dataDir.path()},
                                                     poller, database, "只监视");
    window->show();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return window->ServerButton()->text() == "服务器: 由记录程序发送"; }, 5000))
        << window->ServerButton()->text().toStdString();
}

}  // namespace
}  // namespace orsan
