#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTest>
#include <set>
#include <tuple>

#include "AlarmAnnunciator.h"
#include "AlarmLogDlg.h"
#include "AlarmSettingsDlg.h"
#include "AlarmSettingsTableDlg.h"
#include "AlarmStore.h"
#include "DesktopShell.h"
#include "DxChartTrend.h"
#include "IniFile.h"
#include "Language.h"
#include "MachineTile.h"
#include "MessageHook.h"
#include "OverviewPage.h"
#include "PannelDlg.h"
#include "ParamActions.h"
#include "SimProcess.h"
#include "SimStationConfig.h"
#include "StationAlarms.h"
#include "StationWindowTest.h"
#include "XTabCtrl.h"
#include "ZoneLook.h"

namespace orsan {
namespace {

constexpr int kAlarmTab = 8;

class AlarmWindowTest : public test::StationWindowTest {
protected:
    // The zone beside sensor n's lamp: the label just left of it.
    QLabel* ZoneLabel(int n) const {
        const QWidget* lamp =
            window->findChild<QWidget*>(QStringLiteral("id%1").arg(test::kLampIds[n - 1]));
        for (QLabel* label : window->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->geometry().right() < lamp->x() &&
                label->geometry().right() >= lamp->x() - 4 &&
                label->geometry().intersects(QRect(0, lamp->y(), window->width(), lamp->height())))
                return label;
        }
        return nullptr;
    }

    // The backgrounds of the sensor's tab and velocity boxes and of the page's
    // tab, sampled every 100 ms for 1.2 s: a flash shows lit and dark ones.
    struct Seen {
        std::set<QRgb> sensorTab, velocity, pageTab;
    };
    Seen Watch(int sensor) const {
        Seen seen;
        for (int i = 0; i < 12; ++i) {
            seen.sensorTab.insert(window->Tabs()->TabBackground(sensor).rgb());
            const QColor velocity = window->Panel(sensor - 1)->VelocityAlarm();
            seen.velocity.insert(velocity.isValid() ? velocity.rgb() : 0);
            seen.pageTab.insert(window->Tabs()->TabBackground(kAlarmTab).rgb());
            QTest::qWait(100);
        }
        return seen;
    }
};

const QRgb kTabYellow = XTabCtrl::kTabBackground.rgb();

TEST_F(AlarmWindowTest, ZonesBesideLampsAndPanelsAndAnAlarmOnItsPage) {
    test::SimProcess sim(test::kTwoSimSensors);
    ASSERT_TRUE(test::WriteSimStationConfig(dataDir.path(), sim, 2, "1.0"));
    INIFILE alarms(dataDir.path() + "/Alarm.ini");
    ASSERT_TRUE(alarms.WriteString("ID1", "DELAY", "0.5"));
    ASSERT_TRUE(alarms.WriteString("ID2", "CLASS", "1F"));
    sim.SetVelocities(1, 1.0, 3.5, 1.0);  // 2R: zone C, above ALARM
    sim.SetVelocities(2, 1.0, 3.5, 1.0);  // 1F: zone A
    INIFILE config(ConfigPath(dataDir.path()));
    ASSERT_TRUE(config.WriteString("SENSOR", "ID1NAME", "P-101"));
    OpenWindow();

    XTabCtrl* tabs = window->Tabs();
    ASSERT_EQ(tabs->Count(), 9);
    EXPECT_EQ(tabs->Caption(kAlarmTab), QString::fromUtf8("报警记录"));
    EXPECT_EQ(tabs->TabBackground(kAlarmTab).rgb(), kTabYellow);
    AlarmLogDlg* page = window->Alarms()->Page();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page->Events().empty(); }, 10000));

    for (int n = 1; n <= 3; ++n) ASSERT_NE(ZoneLabel(n), nullptr) << n;
    EXPECT_EQ(ZoneLabel(1)->text(), "C");
    EXPECT_EQ(ZoneLabel(2)->text(), "A");
    EXPECT_EQ(ZoneLabel(3)->text(), "-");  // never answered
    EXPECT_EQ(window->Panel(0)->ZoneBadge()->text(), QString::fromUtf8("C区 2R"));
    EXPECT_EQ(window->Panel(1)->ZoneBadge()->text(), QString::fromUtf8("A区 1F"));
    EXPECT_EQ(window->Panel(2)->ZoneBadge()->text(), QString::fromUtf8("--区 2R"));
    EXPECT_EQ(window->Panel(0)->Chart()->Core().Marks(), (TrendChart::VelocityMarks{2.8f, 4.5f}));
    EXPECT_EQ(window->Panel(1)->Chart()->Core().Marks(), (TrendChart::VelocityMarks{7.1f, 11.0f}));

    ASSERT_EQ(page->Events().size(), 1u);
    const AlarmEvent& event = page->Events()[0];
    EXPECT_EQ(event.sensor, 1);
    EXPECT_EQ(event.kind, AlarmKind::Alarm);
    EXPECT_EQ(event.axis, 1);
    EXPECT_EQ(event.zone, Zone::C);
    EXPECT_EQ(page->List()->item(0, 1)->text(), "1# P-101");
    EXPECT_EQ(page->List()->item(0, 2)->text(), "Vel_Y");
    EXPECT_EQ(page->List()->item(0, AlarmLogDlg::kState)->text(),
              QString::fromUtf8("报警中 未确认"));
    {  // Closing names the active alarm that nothing will watch afterwards.
        ScopedMessageHook hook(false);
        window->close();
        EXPECT_EQ(hook.Questions().value(0),
                  "报警仍未解除，退出后将不再监视和报警：\n1# P-101 ALARM 报警\n确定退出吗？");
    }

    // Unacknowledged: sensor 1's tab, its velocity boxes and the page's tab flash.
    const QRgb amber = AlarmKindColor(AlarmKind::Alarm).rgb();
    Seen seen = Watch(1);
    EXPECT_EQ(seen.sensorTab, (std::set<QRgb>{amber, kTabYellow}));
    EXPECT_EQ(seen.velocity, (std::set<QRgb>{amber, 0}));
    EXPECT_EQ(seen.pageTab, (std::set<QRgb>{amber, kTabYellow}));
    EXPECT_EQ(tabs->TabBackground(2).rgb(), kTabYellow);  // sensor 2 is in zone A

    // The overview's tiles: what each machine does, at a glance.
    const MachineTile* first = window->Overview()->Tile(1);
    const MachineTile* second = window->Overview()->Tile(2);
    EXPECT_EQ(first->Title(), "P-101");
    EXPECT_EQ(second->Title(), QString::fromUtf8("传感器2"));
    EXPECT_EQ(first->AddressText(), QString::fromUtf8("传感器1  127.0.0.1"));
    EXPECT_EQ(first->VelocityText(), "3.50");  // the largest axis
    EXPECT_EQ(first->ShownZone(), Zone::C);
    EXPECT_EQ(second->ShownZone(), Zone::A);
    EXPECT_EQ(first->LinkText(), QString::fromUtf8("通信正常"));
    EXPECT_TRUE(first->TemperatureText().endsWith(QString::fromUtf8(" ℃")));
    EXPECT_EQ(first->AlarmText(), QString::fromUtf8("ALARM 报警"));
    EXPECT_EQ(second->AlarmText(), QString::fromUtf8("无报警"));
    EXPECT_FALSE(window->Overview()->Tile(3)->isVisible());  // no address

    const QString grabs = qEnvironmentVariable("ORSAN_GRAB_DIR");
    if (!grabs.isEmpty()) {
        // Two grabs half a second apart show the flash.
        window->grab().save(grabs + "/alarm-flash-1.png");
        QTest::qWait(500);
        window->grab().save(grabs + "/alarm-flash-2.png");
        tabs->SelectTab(kAlarmTab);
        window->grab().save(grabs + "/alarm-page.png");
    }

    page->OperatorEdit()->setText("张工");
    page->List()->selectRow(0);
    QTest::mouseClick(page->findChild<QPushButton*>("acknowledgeSelected"), Qt::LeftButton);
    ASSERT_EQ(page->Events().size(), 1u);
    EXPECT_TRUE(page->Events()[0].acknowledged);
    EXPECT_EQ(page->Events()[0].ackBy, QString::fromUtf8("张工"));
    EXPECT_EQ(page->List()->item(0, AlarmLogDlg::kState)->text(),
              QString::fromUtf8("报警中 已确认"));
    EXPECT_EQ(page->List()->item(0, AlarmLogDlg::kAckBy)->text(), QString::fromUtf8("张工"));
    // Acknowledged and still active: steady in the zone's colour, never hidden.
    const QRgb zoneC = ZoneColor(Zone::C).rgb();
    seen = Watch(1);
    EXPECT_EQ(seen.sensorTab, std::set<QRgb>{zoneC});
    EXPECT_EQ(seen.velocity, std::set<QRgb>{zoneC});
    EXPECT_EQ(seen.pageTab, std::set<QRgb>{amber});
    if (!grabs.isEmpty()) window->grab().save(grabs + "/alarm-acknowledged.png");

    // "导出CSV" writes the list, acknowledgement included, and opens it.
    QString opened;
    const FileOpener previous = ReplaceFileOpener([&](const QString& path) {
        opened = path;
        return true;
    });
    QTest::mouseClick(page->findChild<QPushButton*>("exportAlarms"), Qt::LeftButton);
    ReplaceFileOpener(previous);
    QFile csv(opened);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly)) << opened.toStdString();
    const QList<QByteArray> lines = csv.readAll().split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[1].contains(",1,Vel_Y,3.5,C,ALARM,1,张工,")) << lines[1].toStdString();
    EXPECT_EQ(first->AlarmText(), QString::fromUtf8("ALARM 报警"));  // still active

    // A silent sensor greys its tile; a click on a tile opens the machine's page.
    sim.SetFault(2, "silent");
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->Greyed(); }, 10000));
    EXPECT_EQ(second->LinkText(), QString::fromUtf8("通信中断"));
    EXPECT_FALSE(first->Greyed());
    QTest::mouseClick(window->Overview()->Tile(2), Qt::LeftButton);
    EXPECT_EQ(tabs->CurrentIndex(), 2);
    EXPECT_TRUE(window->Panel(1)->isVisible());
}

TEST_F(AlarmWindowTest, PanelOpensTheSettingsWhichGoToAlarmIniAndTheChart) {
    OpenWindow();
    std::vector<int> asked;
    window->Alarms()->SetSettingsDialog([&](int sensor, SensorAlarmSettings* accepted) {
        asked.push_back(sensor);
        accepted->machineClass = "1F";
        accepted->trip = 9.0;
        return true;
    });
    QTest::mouseClick(window->Panel(1)->ZoneBadge(), Qt::LeftButton);
    EXPECT_EQ(asked, std::vector<int>{2});
    INIFILE file(dataDir.path() + "/Alarm.ini");
    EXPECT_EQ(file.GetString("ID2", "CLASS", ""), "1F");
    EXPECT_EQ(file.GetString("ID2", "TRIP", ""), "9");
    EXPECT_EQ(window->Alarms()->Monitor().Limits(2).trip, 9.0);
    EXPECT_EQ(window->Panel(1)->Chart()->Core().Marks(), (TrendChart::VelocityMarks{7.1f, 11.0f}));
    EXPECT_EQ(window->Panel(1)->ZoneBadge()->text(), QString::fromUtf8("--区 1F"));
    EXPECT_EQ(window->Panel(0)->ZoneBadge()->text(), QString::fromUtf8("--区 2R"));

    // A bad Alarm.ini is reported when the window opens, and the class used.
    window.reset();
    ASSERT_TRUE(file.WriteString("ID3", "ZONES", "4,2,1"));
    ScopedMessageHook hook;
    OpenWindow();
    ASSERT_EQ(hook.Messages().size(), 1);
    EXPECT_TRUE(hook.Messages()[0].contains("[ID3] ZONES=4,2,1"))
        << hook.Messages()[0].toStdString();
    EXPECT_EQ(window->Panel(2)->Chart()->Core().Marks(), (TrendChart::VelocityMarks{2.8f, 4.5f}));
}

TEST_F(AlarmWindowTest, SettingsDialogRefusesWhatTheFileWouldRefuse) {
    SensorAlarmSettings start;
    start.machineClass = "1R";
    start.alarm = 5.0;
    AlarmSettingsDlg dialog(4, start, nullptr);
    dialog.SetMachineName(QStringLiteral("P-101 %1"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("4# P-101 %1 报警设置"));
    EXPECT_EQ(dialog.ClassBox()->currentText(), "1R");
    EXPECT_EQ(dialog.AlarmEdit()->text(), "5");
    const struct {
        QLineEdit* edit;
        const char* text;
        bool accepted;
    } rows[] = {
        {dialog.ZonesEdit(), "3,2,1", false},   {dialog.ZonesEdit(), "1;2;3", false},
        {dialog.DelayEdit(), "-1", false},      {dialog.TripEdit(), "0", false},
        {dialog.BaselineEdit(), "x", false},    {dialog.TripEdit(), "4", false},  // not above 5
        {dialog.TempAlarmEdit(), "hot", false}, {dialog.TempAlarmEdit(), "90", true},
        {dialog.TempTripEdit(), "80", false},  // not above 90
        {dialog.ZonesEdit(), "1,2.5,6", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        ScopedMessageHook hook;
        const QString before = row.edit->text();
        row.edit->setText(row.text);
        EXPECT_EQ(dialog.TryAccept(), row.accepted);
        EXPECT_EQ(hook.Messages().isEmpty(), row.accepted);
        if (!row.accepted) row.edit->setText(before);
    }
    if (!qEnvironmentVariableIsEmpty("ORSAN_GRAB_DIR"))
        dialog.grab().save(qEnvironmentVariable("ORSAN_GRAB_DIR") + "/alarm-settings.png");
    EXPECT_EQ(dialog.Settings().zones, (ZoneBoundaries{1, 2.5, 6}));
    EXPECT_EQ(dialog.Settings().alarm, 5.0);
    EXPECT_EQ(dialog.Settings().machineClass, "1R");
    EXPECT_EQ(dialog.Settings().tempAlarm, 90.0);
    EXPECT_EQ(dialog.Settings().tempTrip, std::nullopt);
}

// A returned, unacknowledged alarm is said to be so and only outlined, and
// the parameter dialog open beside the (modal) window hides none of it.
TEST_F(AlarmWindowTest, AReturnedAlarmIsOutlinedAndAckedWhileAParameterDialogIsOpen) {
    test::SimProcess sim(test::kTwoSimSensors);
    ASSERT_TRUE(test::WriteSimStationConfig(dataDir.path(), sim, 2, "1.0"));
    ASSERT_TRUE(INIFILE(dataDir.path() + "/Alarm.ini").WriteString("ID1", "DELAY", "0.5"));
    sim.SetVelocities(1, 1.0, 3.5, 1.0);  // zone C, above ALARM
    OpenWindow();
    window->hide();
    window->setWindowModality(Qt::ApplicationModal);  // as exec() runs it
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->Live()[1][kSlotVelX] > 0; }, 10000));
    QTest::mouseClick(window->findChild<QPushButton*>("id1013"), Qt::LeftButton);
    QPointer<QDialog> dialog = window->findChild<QDialog*>("parameterDialog2");
    ASSERT_TRUE(dialog && dialog->isVisible() && !dialog->isModal());
    EXPECT_TRUE(dialog->windowTitle().startsWith(QString::fromUtf8("传感器2 - ")));
    EXPECT_TRUE(poller.IsPaused(2));
    ScopedMessageHook notices;  // the dialog takes input beside the window
    QTest::mouseClick(
        dialog->findChild<QPushButton*>(QStringLiteral("id%1").arg(int(ParamAction::ManualSpeed))),
        Qt::LeftButton);
    EXPECT_EQ(notices.LastNoticeText(), QString::fromUtf8("写入成功^_^"));

    AlarmLogDlg* page = window->Alarms()->Page();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !page->Events().empty(); }, 10000));
    sim.SetVelocities(1, 1.0, 1.0, 1.0);  // back in zone A, not acknowledged
    const MachineTile* tile = window->Overview()->Tile(1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return tile->AlarmReturned(); }, 10000));
    EXPECT_EQ(tile->AlarmText(), QString::fromUtf8("ALARM 已恢复 未确认"));
    const QRgb amber = AlarmKindColor(AlarmKind::Alarm).rgb();
    std::set<std::tuple<QRgb, QRgb, QRgb, bool>> seen;  // tab fill, tab edge, boxes
    for (int i = 0; i < 12; ++i, QTest::qWait(100)) {
        const QColor edge = window->Tabs()->TabOutline(1);
        const QColor box = window->Panel(0)->VelocityAlarm();
        seen.insert({window->Tabs()->TabBackground(1).rgb(), edge.isValid() ? edge.rgb() : 0,
                     box.isValid() ? box.rgb() : 0, window->Panel(0)->VelocityAlarmOutlined()});
    }
    EXPECT_EQ(seen, (std::set<std::tuple<QRgb, QRgb, QRgb, bool>>{{kTabYellow, amber, amber, true},
                                                                  {kTabYellow, 0, 0, true}}));
    const QString grabs = qEnvironmentVariable("ORSAN_GRAB_DIR");
    if (!grabs.isEmpty()) window->grab().save(grabs + "/alarm-returned.png");

    QTest::mouseClick(page->findChild<QPushButton*>("acknowledgeAll"), Qt::LeftButton);
    EXPECT_EQ(tile->AlarmText(), QString::fromUtf8("无报警"));
    EXPECT_FALSE(window->Tabs()->TabOutline(1).isValid());
    window->reject();  // the window's end takes the dialog and the pause with it
    EXPECT_FALSE(dialog && dialog->isVisible());
    EXPECT_FALSE(poller.IsPaused(2));
}

// Without USER, LOGNAME and USERNAME the account (as `id` names it)
// acknowledges. A 40-character name takes only the room the other columns
// leave, whole in its tool tip: state, who and when stay in sight at the
// page's own size in both languages.
TEST_F(AlarmWindowTest, TheAccountAcknowledgesAndALongNameLeavesStateWhoAndWhenInSight) {
    QProcess id;
    id.start(QStringLiteral("id"), {QStringLiteral("-un")});
    ASSERT_TRUE(id.waitForFinished(10000));
    const QString account = QString::fromLocal8Bit(id.readAllStandardOutput()).trimmed();
    std::vector<std::pair<const char*, QByteArray>> saved;
    for (const char* variable : {"USER", "LOGNAME", "USERNAME"}) {
        saved.emplace_back(variable, qgetenv(variable));
        qunsetenv(variable);
    }
    AlarmMonitor monitor;
    ASSERT_TRUE(monitor.OpenStore(dataDir.path())) << monitor.Store().LastError().toStdString();
    AlarmEvent event{1714523415000, 2, 0, 5.0f, Zone::C, AlarmKind::Alarm};
    ASSERT_TRUE(monitor.Store().Insert(&event));
    AlarmLogDlg page(monitor);
    page.AcknowledgeAll();
    for (const auto& [variable, value] : saved)
        if (!value.isNull()) qputenv(variable, value);
    ASSERT_EQ(page.Events().size(), 1u);
    EXPECT_EQ(page.Events()[0].ackBy, account);
    EXPECT_FALSE(account.isEmpty());

    SensorNames names;
    names[1] = QString::fromUtf8(
        "一号锅炉给水泵电机驱动端轴承座振动温度监测点北区二号车间三号生产线末端备用机组A");
    page.SetSensorNames(names);
    for (const UiLanguage language : {UiLanguage::Chinese, UiLanguage::English}) {
        UseLanguage(language, nullptr);
        page.show();
        QApplication::processEvents();
        const QTableWidget* list = page.List();
        const QTableWidgetItem* sensor = list->item(0, AlarmLogDlg::kSensor);
        EXPECT_EQ(sensor->toolTip(), "2# " + names[1]);
        EXPECT_LT(list->columnWidth(AlarmLogDlg::kSensor),
                  list->fontMetrics().horizontalAdvance(sensor->text()));
        for (int c : {AlarmLogDlg::kState, AlarmLogDlg::kAckBy, AlarmLogDlg::kAckTime})
            EXPECT_LE(list->columnViewportPosition(c) + list->columnWidth(c),
                      list->viewport()->width())
                << c << " " << int(language);
        if (const QString grabs = qEnvironmentVariable("ORSAN_GRAB_DIR"); !grabs.isEmpty())
            page.grab().save(grabs + QStringLiteral("/alarm-long-name-%1.png").arg(int(language)));
    }
    UseLanguage(UiLanguage::Chinese, nullptr);
}

TEST_F(AlarmWindowTest, LostAndRestoredAreListedAndALossAwaitsAcknowledgement) {
    AlarmMonitor monitor;
    ASSERT_TRUE(monitor.OpenStore(dataDir.path())) << monitor.Store().LastError().toStdString();
    AlarmEvent events[] = {
        {1714523415000, 5, kNoAxis, 0, Zone::None, AlarmKind::Lost},
        {1714523420000, 5, 2, 1.5f, Zone::B, AlarmKind::Restored},
        {1714523410000, 5, kTemperatureAxis, 85.5f, Zone::None, AlarmKind::Trip}};
    for (AlarmEvent& e : events) ASSERT_TRUE(monitor.Store().Insert(&e));
    AlarmLogDlg page(monitor);
    EXPECT_EQ(page.UnacknowledgedCount(), 2);
    const QStringList rows[] = {{"Vel_Z", "1.5", "B", "RESTORED 通信恢复"},
                                {"", "", "", "LOST 通信中断"},
                                {"T_Shell", "85.5 ℃", "", "TRIP 停机"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 2; c <= 5; ++c) EXPECT_EQ(page.List()->item(r, c)->text(), rows[r][c - 2]);
    page.show();
    const QTableWidgetItem* restored = page.List()->item(0, 5);
    EXPECT_GE(page.List()->columnWidth(5),
              page.List()->fontMetrics().horizontalAdvance(restored->text()));
}

// A viewer's store cannot keep events: they are listed among the stored ones
// and acknowledged on the page alone.
TEST_F(AlarmWindowTest, EventsTheStoreCannotKeepAreStillListedAndAcknowledged) {
    AlarmMonitor monitor;
    ASSERT_TRUE(monitor.OpenStore(dataDir.path())) << monitor.Store().LastError().toStdString();
    AlarmEvent stored{1714523415000, 2, 0, 5.0f, Zone::C, AlarmKind::Alarm};
    ASSERT_TRUE(monitor.Store().Insert(&stored));
    AlarmLogDlg page(monitor);
    page.KeepUnstored({{1714523420000, 3, 1, 9.0f, Zone::D, AlarmKind::Trip},
                       {1714523410000, 4, kNoAxis, 0, Zone::None, AlarmKind::Lost}});
    page.Reload();
    ASSERT_EQ(page.Events().size(), 3u);
    std::vector<int> sensors;
    for (const AlarmEvent& e : page.Events()) sensors.push_back(e.sensor);
    EXPECT_EQ(sensors, (std::vector<int>{3, 2, 4}));  // newest first
    EXPECT_EQ(page.UnacknowledgedCount(), 3);

    page.List()->selectRow(0);
    page.AcknowledgeSelected();
    EXPECT_EQ(page.UnacknowledgedCount(), 2);
    EXPECT_TRUE(page.Events()[0].acknowledged);
    page.AcknowledgeAll();
    EXPECT_EQ(page.UnacknowledgedCount(), 0);
}

// Events the table refuses are held: listed and acknowledged on the page,
// then written with their acknowledgement once the table takes them.
TEST_F(AlarmWindowTest, HeldEventsAreListedAcknowledgedAndWrittenWithTheirAcknowledgement) {
    int64_t steady = 1000;
    AlarmMonitor monitor([&] { return steady; }, [] { return int64_t(1714523415000); });
    ASSERT_TRUE(monitor.OpenStore(dataDir.path())) << monitor.Store().LastError().toStdString();
    const QStringList names = QSqlDatabase::connectionNames().filter("orsan_alarm_");
    ASSERT_EQ(names.size(), 1);
    QSqlQuery table(QSqlDatabase::database(names[0]));
    ASSERT_TRUE(table.exec("PRAGMA query_only = 1"));
    std::array<SensorStatus, kSensorCount> statuses{};
    statuses[1].record.Vel_X = 3.0f;  // ALARM on 2R after the 3 s delay
    statuses[1].record.CommOk = true;
    const auto update = [&](int64_t ms) {
        steady += ms;
        statuses[1].lastGoodReadSteadyMs = steady;
        monitor.Update(statuses, {0, 0x0200007F}, 1.0);
    };
    update(0);
    update(3000);
    ASSERT_EQ(monitor.HeldEventCount(), 1);
    AlarmLogDlg page(monitor);
    page.Reload();
    ASSERT_EQ(page.UnacknowledgedCount(), 1);
    page.List()->selectRow(0);
    page.AcknowledgeSelected();
    EXPECT_EQ(page.UnacknowledgedCount(), 0);

    ASSERT_TRUE(table.exec("PRAGMA query_only = 0"));
    update(HeldAlarmWrites::kRetryMs);
    EXPECT_EQ(monitor.WrittenFromHold(), 1);
    std::vector<AlarmEvent> stored;
    ASSERT_TRUE(monitor.Store().LoadAll(&stored));
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_TRUE(stored[0].acknowledged && !stored[0].ackBy.isEmpty());
    EXPECT_EQ(monitor.Store().UnacknowledgedRaisedCount(), 0);
}

TEST_F(AlarmWindowTest, EveryMachinesSettingsInOneDialogRefusedAsTheFileWould) {
    AlarmSettingsTableDlg::AllSettings start;
    start[1].machineClass = "1F";
    start[1].baseline = 2.0;
    AlarmSettingsTableDlg dialog(start);
    EXPECT_EQ(dialog.ClassBox(2)->currentText(), "1F");
    // Rows name their machines; long names are cut apart, whole in the tips.
    const QString longName = QStringLiteral("一号循环水泵电机驱动端轴承座水平方向测点");
    const SensorNames names{"", "", "", "P-104", longName, QString(longName).replace(0, 2, "二号")};
    dialog.SetSensorNames(names);
    EXPECT_EQ(dialog.Caption(4)->text(), "4# P-104");
    EXPECT_EQ(dialog.Caption(5)->toolTip(), longName);
    EXPECT_NE(dialog.Caption(5)->text().mid(3), dialog.Caption(6)->text().mid(3));
    EXPECT_LT(dialog.Caption(5)->text().size(), longName.size());
    const struct {
        int sensor;
        QLineEdit* (AlarmSettingsTableDlg::*edit)(int) const;
        const char* text;
        bool accepted;
    } rows[] = {
        {3, &AlarmSettingsTableDlg::ZonesEdit, "3,2,1", false},
        {6, &AlarmSettingsTableDlg::DelayEdit, "99999", false},
        {1, &AlarmSettingsTableDlg::TripEdit, "2", false},  // not above the 2.8 alarm
        {4, &AlarmSettingsTableDlg::AlarmEdit, "abc", false},
        {2, &AlarmSettingsTableDlg::TempTripEdit, "0", false},
        {2, &AlarmSettingsTableDlg::TempTripEdit, "95", true},
        {5, &AlarmSettingsTableDlg::ZonesEdit, "1,2.5,6", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        ScopedMessageHook hook;
        QLineEdit* edit = (dialog.*row.edit)(row.sensor);
        const QString before = edit->text();
        edit->setText(row.text);
        EXPECT_EQ(dialog.TryAccept(), row.accepted);
        ASSERT_EQ(hook.Messages().size(), row.accepted ? 0 : 1);
        // The refusal names the machine, wholly.
        if (!row.accepted) {
            EXPECT_TRUE(hook.Messages()[0].startsWith(
                SensorTabCaption(row.sensor, names[size_t(row.sensor - 1)]) + ' '))
                << hook.Messages()[0].toStdString();
            edit->setText(before);
        }
    }
    EXPECT_EQ(dialog.Settings()[4].zones, (ZoneBoundaries{1, 2.5, 6}));
    EXPECT_EQ(dialog.Settings()[1].baseline, 2.0);  // kept though not shown
    if (!qEnvironmentVariableIsEmpty("ORSAN_GRAB_DIR"))
        dialog.grab().save(qEnvironmentVariable("ORSAN_GRAB_DIR") + "/alarm-settings-all.png");

    // The page's button opens it; what it accepts goes to Alarm.ini.
    OpenWindow();
    window->Alarms()->SetAllSettingsDialog([&](StationAlarms::AllSettings* accepted) {
        *accepted = dialog.Settings();
        return true;
    });
    QTest::mouseClick(window->Alarms()->Page()->findChild<QPushButton*>("alarmSettings"),
                      Qt::LeftButton);
    INIFILE file(dataDir.path() + "/Alarm.ini");
    EXPECT_EQ(file.GetString("ID5", "ZONES", ""), "1,2.5,6");
    EXPECT_EQ(file.GetString("ID2", "BASELINE", ""), "2");
    EXPECT_EQ(file.GetString("ID2", "TEMP_TRIP", ""), "95");
    EXPECT_EQ(window->Alarms()->Monitor().Limits(5).zones.cd, 6.0);
}

// Counts what the tone is asked to do.
struct CountingSound : AlarmSound {
    int* starts;
    int* stops;
    CountingSound(int* a, int* b) : starts(a), stops(b) {}
    void Start() override { ++*starts; }
    void Stop() override { ++*stops; }
};

TEST_F(AlarmWindowTest, ANewAlarmSoundsUntilMutedOrAcknowledgedAndFlashesOnTheClock) {
    int64_t steady = 10000;
    for (const bool soundSetting : {true, false}) {
        SCOPED_TRACE(soundSetting);
        if (!soundSetting)
            INIFILE(dataDir.path() + "/Alarm.ini").WriteString("GLOBAL", "SOUND", "0");
        AlarmMonitor monitor([&] { return steady; }, [] { return int64_t(1714523415000); });
        monitor.LoadSettings(dataDir.path());
        int starts = 0, stops = 0;
        AlarmAnnunciator annunciator(monitor, nullptr,
                                     std::make_unique<CountingSound>(&starts, &stops));
        std::array<SensorStatus, kSensorCount> statuses{};
        statuses[2].record.CommOk = true;
        statuses[2].record.Vel_Z = 9.0f;  // zone D, above TRIP
        const std::array<uint32_t, kSensorCount> addresses = {0, 0, 0x0300007F};
        const auto refresh = [&](int64_t ms) {
            steady += ms;
            if (statuses[2].record.CommOk) statuses[2].lastGoodReadSteadyMs = steady;
            monitor.Update(statuses, addresses, 1.0);
            annunciator.Announce();
        };
        refresh(0);
        refresh(3000);  // TRIP, new
        EXPECT_EQ(starts, soundSetting ? 1 : 0);
        AlarmLook look = annunciator.Look(3);
        EXPECT_EQ(look.text, QString::fromUtf8("TRIP 停机"));
        EXPECT_TRUE(look.flashing);
        EXPECT_EQ(look.Lit(), ZoneColor(Zone::D));  // 13 000 ms: the lit half
        steady += 500;
        EXPECT_FALSE(annunciator.Look(3).Lit().isValid());
        annunciator.Mute();
        EXPECT_EQ(stops, soundSetting ? 1 : 0);
        EXPECT_FALSE(annunciator.IsSounding());
        annunciator.ShowAcknowledged();  // an acknowledgement does not undo the mute
        EXPECT_EQ(starts, soundSetting ? 1 : 0);

        // Lost: a new alarm sounds again after the mute.
        statuses[2].record.CommOk = false;
        refresh(3500);
        EXPECT_EQ(starts, soundSetting ? 2 : 0);
        EXPECT_TRUE(monitor.AcknowledgeAll("x"));
        annunciator.ShowAcknowledged();
        EXPECT_EQ(stops, soundSetting ? 2 : 0);
        look = annunciator.Look(3);
        EXPECT_FALSE(look.flashing);
        EXPECT_EQ(look.text, QString::fromUtf8("TRIP 停机"));  // still active, steady
        EXPECT_TRUE(look.Lit().isValid());
        EXPECT_FALSE(annunciator.Look(1).IsAlarm());
    }
}

}  // namespace
}  // namespace orsan
