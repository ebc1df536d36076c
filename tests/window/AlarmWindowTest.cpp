#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "AlarmLogDlg.h"
#include "AlarmSettingsDlg.h"
#include "AlarmStore.h"
#include "DxChartTrend.h"
#include "IniFile.h"
#include "MachineTile.h"
#include "MessageHook.h"
#include "OverviewPage.h"
#include "PannelDlg.h"
#include "SimProcess.h"
#include "SimStationConfig.h"
#include "StationAlarms.h"
#include "StationWindowTest.h"
#include "XTabCtrl.h"

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

    QColor CaptionColor() const { return window->Tabs()->TextColor(kAlarmTab); }
};

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
    EXPECT_NE(CaptionColor(), QColor(255, 0, 0));
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
    EXPECT_EQ(page->List()->item(0, 3)->text(), "3.5");
    EXPECT_EQ(CaptionColor(), QColor(255, 0, 0));  // stands out while unacknowledged

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
    EXPECT_EQ(first->AlarmText(), QString::fromUtf8("ALARM 报警  未确认"));
    EXPECT_EQ(second->AlarmText(), QString::fromUtf8("无报警"));
    EXPECT_FALSE(window->Overview()->Tile(3)->isVisible());  // no address

    if (!qEnvironmentVariableIsEmpty("ORSAN_GRAB_DIR")) {
        const QString grabs = qEnvironmentVariable("ORSAN_GRAB_DIR");
        window->grab().save(grabs + "/alarm-window.png");
        tabs->SelectTab(kAlarmTab);
        window->grab().save(grabs + "/alarm-page.png");
    }

    page->List()->selectRow(0);
    QTest::mouseClick(page->findChild<QPushButton*>("acknowledgeSelected"), Qt::LeftButton);
    ASSERT_EQ(page->Events().size(), 1u);
    EXPECT_TRUE(page->Events()[0].acknowledged);
    EXPECT_EQ(page->List()->item(0, 6)->text(), QString::fromUtf8("已确认"));
    EXPECT_NE(CaptionColor(), QColor(255, 0, 0));
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
    EXPECT_EQ(dialog.ClassBox()->currentText(), "1R");
    EXPECT_EQ(dialog.AlarmEdit()->text(), "5");
    const struct {
        QLineEdit* edit;
        const char* text;
        bool accepted;
    } rows[] = {
        {dialog.ZonesEdit(), "3,2,1", false},  {dialog.ZonesEdit(), "1;2;3", false},
        {dialog.DelayEdit(), "-1", false},     {dialog.TripEdit(), "0", false},
        {dialog.BaselineEdit(), "x", false},   {dialog.TripEdit(), "4", false},  // not above 5
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
}

TEST_F(AlarmWindowTest, LostAndRestoredAreListedAndALossAwaitsAcknowledgement) {
    AlarmStore store;
    ASSERT_TRUE(store.Open(dataDir.path())) << store.LastError().toStdString();
    AlarmEvent events[] = {{1714523415000, 5, kNoAxis, 0, Zone::None, AlarmKind::Lost},
                           {1714523420000, 5, 2, 1.5f, Zone::B, AlarmKind::Restored}};
    for (AlarmEvent& e : events) ASSERT_TRUE(store.Insert(&e));
    AlarmLogDlg page(store);
    EXPECT_EQ(page.UnacknowledgedCount(), 1);
    const QStringList rows[] = {{"Vel_Z", "1.5", "B", "RESTORED 通讯恢复"},
                                {"", "", "", "LOST 通讯中断"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 2; c <= 5; ++c) EXPECT_EQ(page.List()->item(r, c)->text(), rows[r][c - 2]);
    page.show();
    const QTableWidgetItem* restored = page.List()->item(0, 5);
    EXPECT_GE(page.List()->columnWidth(5),
              page.List()->fontMetrics().horizontalAdvance(restored->text()));
}

// A viewer's store cannot keep events: they are listed among the stored ones
// and acknowledged on the page alone.
TEST_F(AlarmWindowTest, EventsTheStoreCannotKeepAreStillListedAndAcknowledged) {
    AlarmStore store;
    ASSERT_TRUE(store.Open(dataDir.path())) << store.LastError().toStdString();
    AlarmEvent stored{1714523415000, 2, 0, 5.0f, Zone::C, AlarmKind::Alarm};
    ASSERT_TRUE(store.Insert(&stored));
    AlarmLogDlg page(store);
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

}  // namespace
}  // namespace orsan
