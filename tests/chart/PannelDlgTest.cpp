#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <memory>

#include "DesktopShell.h"
#include "DialogUnits.h"
#include "DxChartTrend.h"
#include "FileText.h"
#include "MessageHook.h"
#include "PannelDlg.h"
#include "PlausibleTrend.h"
#include "SensorDataFile.h"
#include "SetChartDlg.h"
#include "SetShowDlg.h"

namespace orsan {
namespace {

// Runs the event loop until cond holds or 5 s pass (a wait, not a timing check).
bool WaitFor(const std::function<bool()>& cond) {
    QElapsedTimer clock;
    clock.start();
    while (!cond()) {
        if (clock.elapsed() > 5000) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Acts on the modal dialog of type D once it is shown.
template <typename D>
void WhenModal(std::function<void(D*)> action) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, poll] {
        if (auto* dlg = qobject_cast<D*>(QApplication::activeModalWidget())) {
            action(dlg);
            *poll = nullptr;
        } else {
            QTimer::singleShot(10, [poll] {
                if (*poll) (*poll)();
            });
        }
    };
    QTimer::singleShot(0, [poll] { (*poll)(); });
}

void SendKey(QWidget* target, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
}

class PannelDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(appDir_.isValid());
        ASSERT_TRUE(desktop_.isValid());
        paths_ = {appDir_.path(), desktop_.path()};
        previousOpener_ = ReplaceFileOpener([this](const QString& path) {
            opened_ << path;
            return opensFiles_;
        });
    }
    void TearDown() override { ReplaceFileOpener(previousOpener_); }

    std::unique_ptr<PannelDlg> MakePanel(int index) {
        return std::make_unique<PannelDlg>(index, paths_, live_, intervalWholeSeconds_);
    }
    QString ChartIni() const { return appDir_.filePath(QStringLiteral("Chart.ini")); }
    QByteArray ChartIniText() const { return test::ReadAll(ChartIni()); }
    void WriteChartIni(const QByteArray& text) { test::WriteFile(ChartIni(), text); }
    static QString Text(QWidget* panel, int id) {
        auto* label = panel->findChild<QLabel*>(QStringLiteral("id%1").arg(id));
        return label ? label->text() : QStringLiteral("<missing>");
    }
    static SensorSample At(int32_t t, float temp) {
        SensorSample s;
        s.time = t;
        s.T_Shell = temp;
        s.Vel_Z = temp / 10;
        return s;
    }

    QTemporaryDir appDir_;
    QTemporaryDir desktop_;
    StationPaths paths_;
    LiveValues live_{};
    int intervalWholeSeconds_ = 1;
    QStringList opened_;
    bool opensFiles_ = true;  // false: the desktop has no viewer
    FileOpener previousOpener_;
};

TEST_F(PannelDlgTest, LayoutInDialogUnitsAndChartLayoutAtItsRealSize) {
    auto panel = MakePanel(0);
    const DialogUnits du(DialogFont());
    EXPECT_EQ(panel->size(), du.Size(548, 238));
    struct Row {
        int id, x, y, w, h;
    } rows[] = {
        {1015, 40, 14, 36, 10},  {1039, 128, 26, 36, 10}, {1037, 128, 51, 36, 10},
        {1044, 360, 51, 41, 10}, {1048, 477, 51, 41, 10}, {1050, 360, 63, 41, 10},
        {1125, 477, 1, 41, 11},  {1053, 2, 63, 48, 12},   {1054, 254, 63, 48, 13},
        {1108, 236, 31, 20, 15}, {1049, 2, 78, 544, 159},
    };
    for (const Row& r : rows) {
        auto* w = panel->findChild<QWidget*>(QStringLiteral("id%1").arg(r.id));
        ASSERT_NE(w, nullptr) << r.id;
        EXPECT_EQ(w->geometry(), du.Rect(r.x, r.y, r.w, r.h)) << r.id;
    }
    // The chart's image exists before the panel is shown, at the chart's size,
    // and its layout follows from that size.
    const TrendChart& core = panel->Chart()->Core();
    ASSERT_TRUE(core.HasImage());
    const QSize size = du.Rect(2, 78, 544, 159).size();
    EXPECT_EQ(core.Image().size(), size);
    const TrendLayout& layout = core.Layout();
    EXPECT_EQ(layout.gridStepX, (size.width() - 275) / 25);
    EXPECT_EQ(layout.gridStepY, (size.height() - 80) / 10);
    EXPECT_EQ(layout.plotRect.right, size.width() - 75);
    EXPECT_EQ(layout.plotRect.Width(), 25 * layout.gridStepX);
    EXPECT_EQ(layout.plotRect.Height(), 10 * layout.gridStepY);
}

TEST_F(PannelDlgTest, ButtonsHaveCaptionsAndToolTips) {
    auto panel = MakePanel(0);
    struct Row {
        int id;
        const char* caption;
        const char* tip;
    } rows[] = {{1053, "设置范围", "调整坐标轴范围!"},
                {1056, "显示选择", "设置曲线是否显示!"},
                {1051, "清空曲线", "清除缓存，重新绘制!"},
                {1052, "导出曲线", "导出当前曲线为PNG图片!"},
                {1054, "导出数据", "导出数据到文本文件中!"}};
    for (const Row& r : rows) {
        auto* b = panel->findChild<QPushButton*>(QStringLiteral("id%1").arg(r.id));
        ASSERT_NE(b, nullptr) << r.id;
        EXPECT_EQ(b->text(), QString::fromUtf8(r.caption));
        EXPECT_EQ(b->toolTip(), QString::fromUtf8(r.tip));
    }
}

TEST_F(PannelDlgTest, LiveValuesShowRowOfTheSensorWithTheirFormats) {
    auto panel = MakePanel(2);
    EXPECT_EQ(Text(panel.get(), 1015), QString(13, ' '));
    EXPECT_EQ(Text(panel.get(), 1030), QStringLiteral("-"));
    EXPECT_EQ(Text(panel.get(), 1125), QStringLiteral("0.00"));
    LiveRow row{};
    for (int i = 0; i < kLiveSlots; ++i) row[i] = 0.5f + i;
    row[kSlotTShell] = 25.3f;
    row[kSlotDispX] = 12.6f;
    row[kSlotDispY] = 12.4f;
    row[kSlotRunningSpeed] = 24.95f;
    row[kSlotAccX] = 1.005f;
    row[kSlotTopOrderZ] = 3.25f;
    live_[2] = row;
    live_[1][kSlotTShell] = 99;  // another sensor's row
    ASSERT_TRUE(WaitFor([&] { return Text(panel.get(), 1037) != QString(13, ' '); }));
    struct Expect {
        int id;
        const char* text;
    } expected[] = {
        {1037, "25.3"},  {1018, "13"},
        {1035, "12"},    {1125, "24.95"},
        {1015, "1.00"},  {1032, "3.50"},
        {1040, "6.50"},  {1016, "1.50"},
        {1039, "7.50"},  {1038, "8"} /* 8.5, printf ties to even */,
        {1041, "10.50"}, {1048, "17.50"},
        {1050, "3.2"},   {1055, "19.50"},
        {1030, "-"},
    };
    for (const Expect& e : expected)
        EXPECT_EQ(Text(panel.get(), e.id), QString::fromLatin1(e.text)) << e.id;
}

TEST_F(PannelDlgTest, TrendTimerPeriods) {
    intervalWholeSeconds_ = 3;
    auto panel = MakePanel(0);
    EXPECT_EQ(panel->TrendTimerPeriod(), 3000);
    struct Row {
        float seconds;
        int ms;
    } rows[] = {{2.5f, 2000}, {1, 1000}, {1800, 1800000}, {0.3f, 300}, {0.75f, 750}, {0, 300}};
    for (const Row& r : rows) {
        panel->SetTrendInterval(r.seconds);
        EXPECT_EQ(panel->TrendTimerPeriod(), r.ms) << r.seconds;
    }
    intervalWholeSeconds_ = 0;
    EXPECT_EQ(MakePanel(0)->TrendTimerPeriod(), 300);
}

TEST_F(PannelDlgTest, TrendSampleTakesTheRowsValuesAndSpreadsSubSecondSamples) {
    auto panel = MakePanel(4);
    LiveRow row{};
    for (int i = 0; i < kLiveSlots; ++i) row[i] = 100.0f + i;
    live_[4] = row;
    panel->SetTrendInterval(0.3f);
    ASSERT_TRUE(WaitFor([&] { return panel->Chart()->Core().History().Count() >= 4; }));
    std::vector<SensorSample> copy(1800);
    const int n = panel->Chart()->CopySamples(copy.data());
    ASSERT_GE(n, 4);
    const SensorSample& s = copy[0];
    EXPECT_EQ(s.T_Shell, 109.0f);
    EXPECT_EQ(s.Acc_X, 100.0f);
    EXPECT_EQ(s.Acc_Y, 103.0f);
    EXPECT_EQ(s.Acc_Z, 106.0f);
    EXPECT_EQ(s.Vel_X, 101.0f);
    EXPECT_EQ(s.Disp_Z, 108.0f);
    // 300 ms apart on average, never a 10 ms flood; one gap may be short
    // after a scheduling stall, so the mean is what is measured.
    for (int i = 1; i < n; ++i)
        EXPECT_GT(SampleTimePosition(copy[i]), SampleTimePosition(copy[i - 1])) << i;
    const double span = SampleTimePosition(copy[n - 1]) - SampleTimePosition(copy[0]);
    EXPECT_GT(span / (n - 1), 0.2);
}

TEST_F(PannelDlgTest, DataExportWritesTheChartsSamplesAndOpensTheFile) {
    auto panel = MakePanel(2);
    {
        ScopedMessageHook empty;
        panel->findChild<QPushButton*>("id1054")->click();  // empty chart: said, no file
        EXPECT_EQ(empty.Messages(), QStringList{NothingToExportText()});
    }
    EXPECT_TRUE(opened_.isEmpty());
    EXPECT_TRUE(QDir(desktop_.path()).entryList(QDir::Files).isEmpty());
    ScopedMessageHook hook;

    const int32_t t0 = 1714523415;  // 2024-05-01 08:30:15 here
    for (int i = 0; i < 3; ++i) panel->Chart()->AppendSample(At(t0 + i, 20.5f + i));
    panel->findChild<QPushButton*>("id1054")->click();
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_TRUE(hook.Messages().isEmpty());
    const QString path = opened_[0];
    EXPECT_TRUE(path.startsWith(desktop_.path() + QStringLiteral("/传感器3数据")));
    EXPECT_TRUE(path.endsWith(QStringLiteral("秒.txt")));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray pad7(7, ' ');
    const QByteArray expected = SensorDataHeaderLine() + "2024-05-01 08:30:15.000" + pad7 +
                                "20.5      0         0         0         0         "
                                "0         0         0         2.05      0         \r\n"
                                "2024-05-01 08:30:16.000" +
                                pad7 +
                                "21.5      0         0         0         0         "
                                "0         0         0         2.15      0         \r\n"
                                "2024-05-01 08:30:17.000" +
                                pad7 +
                                "22.5      0         0         0         0         "
                                "0         0         0         2.25      0         \r\n"
                                "\r\n";
    EXPECT_EQ(f.readAll(), expected);
}

TEST_F(PannelDlgTest, ExportThatCannotBeWrittenShowsWhyAndOpensNothing) {
    // A regular file where the folder should be: not writable even for root.
    const QString blocker = desktop_.filePath(QStringLiteral("not-a-folder"));
    ASSERT_NO_FATAL_FAILURE(test::WriteFile(blocker, {}));
    paths_.desktopDir = blocker;
    auto panel = MakePanel(0);
    panel->Chart()->AppendSample(At(1714523415, 20));
    ScopedMessageHook hook;
    panel->findChild<QPushButton*>("id1054")->click();
    panel->findChild<QPushButton*>("id1052")->click();
    EXPECT_TRUE(opened_.isEmpty());
    ASSERT_EQ(hook.Messages().size(), 2);
    EXPECT_TRUE(hook.Messages()[0].contains(blocker + QStringLiteral("/传感器1数据")))
        << hook.Messages()[0].toStdString();
    EXPECT_TRUE(hook.Messages()[1].contains(blocker + QStringLiteral("/传感器1趋势")))
        << hook.Messages()[1].toStdString();
    for (const QString& m : hook.Messages()) EXPECT_GT(m.lastIndexOf(u'：'), 0);
}

TEST_F(PannelDlgTest, PictureExportIsAPngOfTheChartAndIsOpened) {
    auto panel = MakePanel(5);
    for (int i = 0; i < 5; ++i) panel->Chart()->AppendSample(At(1714523415 + i, 30 + i));
    panel->findChild<QPushButton*>("id1052")->click();
    ASSERT_EQ(opened_.size(), 1);
    EXPECT_TRUE(opened_[0].contains(QStringLiteral("/传感器6趋势")));
    EXPECT_TRUE(opened_[0].endsWith(QStringLiteral("秒.png")));
    const QImage saved(opened_[0], "PNG");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32),
              panel->Chart()->Core().Image().convertToFormat(QImage::Format_RGB32));
}

TEST_F(PannelDlgTest, ExportsIntoAPercentFolderLandThereAndSayWhereWithoutAViewer) {
    const QString folder = desktop_.filePath(QStringLiteral("100%1off%2"));
    ASSERT_TRUE(QDir().mkpath(folder));
    paths_.desktopDir = folder;
    auto panel = MakePanel(1);
    panel->Chart()->AppendSample(At(1714523415, 20));
    opensFiles_ = false;
    ScopedMessageHook hook;
    panel->findChild<QPushButton*>("id1054")->click();
    panel->findChild<QPushButton*>("id1052")->click();
    const QStringList files = QDir(folder).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files.size(), 2);
    EXPECT_TRUE(files[0].startsWith(QStringLiteral("传感器2数据")) && files[0].endsWith(".txt"));
    EXPECT_TRUE(files[1].startsWith(QStringLiteral("传感器2趋势")) && files[1].endsWith(".png"));
    ASSERT_EQ(hook.Messages().size(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_TRUE(hook.Messages()[i].contains(folder + '/' + files[i]));
}

TEST_F(PannelDlgTest, ClearEmptiesTheChart) {
    auto panel = MakePanel(0);
    for (int i = 0; i < 5; ++i) panel->Chart()->AppendSample(At(1714523415 + i, 30));
    panel->findChild<QPushButton*>("id1051")->click();
    EXPECT_EQ(panel->Chart()->Core().History().Count(), 0);
}

TEST_F(PannelDlgTest, ChartIniDefaultsAndAShowValueOfTwo) {
    auto fresh = MakePanel(0);
    EXPECT_EQ(fresh->Chart()->Limits(), (TrendLimits{0, 80, 10, 20, 50}));
    EXPECT_EQ(fresh->ShowFlags(), (std::array<int, 10>{1, 0, 0, 0, 1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(fresh->Chart()->Core().CurveVisibility(), fresh->ShowFlags());
    EXPECT_FALSE(QFile::exists(ChartIni()));  // loading never writes

    WriteChartIni("[CH2]\r\nTMax=120\r\nSHOW3=2\r\n");
    auto panel = MakePanel(1);
    EXPECT_EQ(panel->Chart()->Limits().TMax, 120.0f);
    EXPECT_EQ(panel->ShowFlags()[3], 2);
    EXPECT_NE(panel->Chart()->Core().CurveVisibility()[3], 0);
    // The Acc_Z legend swatch is drawn.
    const TrendChart& core = panel->Chart()->Core();
    const EdgeRect& plot = core.Layout().plotRect;
    EXPECT_EQ(core.Image().pixel(plot.right + 10, plot.top + 44 + 4) | 0xff000000u,
              CurveColors()[3].rgb());
    // The check box shows a stored 2 as checked.
    bool checked = false;
    WhenModal<SetShowDlg>([&](SetShowDlg* dlg) {
        checked = dlg->CheckBox(3)->isChecked();
        dlg->close();
    });
    panel->findChild<QPushButton*>("id1056")->click();
    EXPECT_TRUE(checked);
}

TEST_F(PannelDlgTest, RangeDialogWritesOnAcceptAndRefusesANonNumber) {
    auto panel = MakePanel(1);
    ScopedMessageHook hook;
    bool stayedOpen = false;
    QString shownTMax;
    WhenModal<SetChartDlg>([&](SetChartDlg* dlg) {
        shownTMax = dlg->findChild<QLineEdit*>("id1058")->text();
        dlg->findChild<QLineEdit*>("id1058")->setText(QStringLiteral("abc"));
        dlg->SetButton()->click();
        stayedOpen = dlg->isVisible();
        dlg->findChild<QLineEdit*>("id1058")->setText(QStringLiteral("100"));
        dlg->findChild<QLineEdit*>("id1063")->setText(QStringLiteral("100"));
        dlg->SetButton()->click();  // a minimum not below its maximum
        stayedOpen = stayedOpen && dlg->isVisible();
        dlg->findChild<QLineEdit*>("id1063")->setText(QStringLiteral("-5.25"));
        dlg->findChild<QLineEdit*>("id1059")->setText(QStringLiteral("0"));  // AMax: axis from 0
        dlg->SetButton()->click();
        stayedOpen = stayedOpen && dlg->isVisible();
        dlg->findChild<QLineEdit*>("id1059")->setText(QStringLiteral("10"));
        dlg->SetButton()->click();
    });
    panel->findChild<QPushButton*>("id1053")->click();
    EXPECT_EQ(shownTMax, QStringLiteral("80"));
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(hook.Messages().size(), 3);
    EXPECT_TRUE(hook.Messages()[0].contains(QStringLiteral("温度最大值")));
    EXPECT_EQ(hook.Messages()[1], QStringLiteral("温度最小值（100）必须小于温度最大值（100）。"));
    EXPECT_EQ(hook.Messages()[2], QStringLiteral("加速度最大值（0）必须大于坐标轴最小值 0。"));
    EXPECT_EQ(panel->Chart()->Limits(), (TrendLimits{-5.25f, 100, 10, 20, 50}));
    INIFILE ini(ChartIni());
    EXPECT_EQ(ini.GetString("CH2", "TMax", "?"), QStringLiteral("100.0"));
    EXPECT_EQ(ini.GetString("CH2", "TMin", "?"), QStringLiteral("-5.2"));
    EXPECT_EQ(ini.GetString("CH2", "DMax", "?"), QStringLiteral("50.0"));
    EXPECT_EQ(ini.GetString("CH1", "TMax", "?"), QStringLiteral("?"));
    // The chart was redrawn with the new labels in the cached background.
    EXPECT_EQ(panel->Chart()->Core().BackgroundRenderCount(), 2);
}

TEST_F(PannelDlgTest, CancelLeavesFileAndChartUntouched) {
    WriteChartIni("[CH1]\r\nTMax=90\r\nSHOW0=1\r\nSHOW5=0\r\n");
    const QByteArray before = ChartIniText();
    auto panel = MakePanel(0);
    const int renders = panel->Chart()->Core().RenderCount();
    WhenModal<SetChartDlg>([](SetChartDlg* dlg) {
        dlg->findChild<QLineEdit*>("id1058")->setText(QStringLiteral("5"));
        SendKey(dlg->findChild<QLineEdit*>("id1058"), Qt::Key_Return);
        SendKey(dlg, Qt::Key_Escape);
        dlg->close();
    });
    panel->findChild<QPushButton*>("id1053")->click();
    WhenModal<SetShowDlg>([](SetShowDlg* dlg) {
        dlg->CheckBox(0)->setChecked(false);
        dlg->CheckBox(5)->setChecked(true);
        dlg->close();
    });
    panel->findChild<QPushButton*>("id1056")->click();
    EXPECT_EQ(ChartIniText(), before);
    EXPECT_EQ(panel->Chart()->Limits().TMax, 90.0f);
    EXPECT_EQ(panel->ShowFlags()[0], 1);
    EXPECT_EQ(panel->ShowFlags()[5], 0);
    EXPECT_EQ(panel->Chart()->Core().RenderCount(), renders);
}

TEST_F(PannelDlgTest, VisibilityDialogWritesAllTenFlagsOfItsSection) {
    auto panel = MakePanel(1);
    WhenModal<SetShowDlg>([](SetShowDlg* dlg) {
        SendKey(dlg, Qt::Key_Escape);  // ignored
        SendKey(dlg, Qt::Key_Enter);   // ignored
        if (!dlg->isVisible()) return;
        dlg->CheckBox(0)->setChecked(false);
        dlg->CheckBox(8)->setChecked(true);
        dlg->SetButton()->click();
    });
    panel->findChild<QPushButton*>("id1056")->click();
    EXPECT_EQ(panel->ShowFlags(), (std::array<int, 10>{0, 0, 0, 0, 1, 1, 1, 0, 1, 0}));
    EXPECT_EQ(panel->Chart()->Core().CurveVisibility(), panel->ShowFlags());
    INIFILE ini(ChartIni());
    for (int k = 0; k < 10; ++k)
        EXPECT_EQ(ini.GetString("CH2", QStringLiteral("SHOW%1").arg(k), "?"),
                  QString::number((k >= 4 && k <= 6) || k == 8 ? 1 : 0));
    EXPECT_FALSE(ChartIniText().contains("CH1"));
}

TEST_F(PannelDlgTest, ChartClickMovesTheCursorAndEnterEscapeAreConsumed) {
    auto panel = MakePanel(0);
    DxChartTrend* chart = panel->Chart();
    for (int i = 0; i < 20; ++i) chart->AppendSample(At(1714523415 + i, 30 + i));
    const EdgeRect& plot = chart->Core().Layout().plotRect;
    const QPointF at(plot.left + plot.Width() * 3 / 4, plot.top + 10);
    int clicks = 0;
    QObject::connect(chart, &DxChartTrend::clicked, [&] { ++clicks; });
    QMouseEvent press(QEvent::MouseButtonPress, at, chart->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, chart->mapToGlobal(at), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(chart, &press);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(chart->Core().CursorX(), 0);  // taken on release
    QApplication::sendEvent(chart, &release);
    EXPECT_EQ(chart->Core().CursorX(), static_cast<int>(at.x()));
    EXPECT_GT(chart->Core().ReadoutSampleIndex(), 10);

    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(panel.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QApplication::sendEvent(panel.get(), &other);
    EXPECT_FALSE(other.isAccepted());
}

// Old values are marked as old: greyed under a notice, "--" where there are
// none, and no trend segment drawn from them. Pictures of every state go to
// ORSAN_SNAPSHOT_DIR when it is set.
TEST_F(PannelDlgTest, StaleNeverAndPausedValuesAreMarked) {
    const QString out = qEnvironmentVariable("ORSAN_SNAPSHOT_DIR");
    WriteChartIni("[CH2]\r\nSHOW0=1\r\nSHOW4=1\r\n");
    auto panel = MakePanel(1);
    live_[1][kSlotTShell] = 36.4f;
    const int64_t readMs = QDateTime(QDate(2026, 12, 7), QTime(9, 40, 12)).toMSecsSinceEpoch();
    const struct {
        const char* name;
        SensorLink link;
        const char* temperature;
        const char* notice;
    } cases[] = {
        {"ok", {LinkState::Ok, readMs}, "36.4", ""},
        {"stale", {LinkState::Stale, readMs}, "36.4", "通信中断\n最后有效读数 2026-12-07 09:40:12"},
        {"never", {LinkState::Never, 0}, "--", "未连接\n尚无有效读数"},
        {"paused", {LinkState::Paused, 0}, "--", "轮询已暂停\n尚无有效读数"},
    };
    panel->show();
    for (const auto& c : cases) {
        panel->SetLink(c.link);
        panel->RefreshLiveValues();
        panel->AppendTrendSample();
        auto* notice = panel->findChild<QLabel*>(QStringLiteral("linkNotice"));
        EXPECT_EQ(notice->isVisible(), *c.notice != 0) << c.name;
        EXPECT_EQ(notice->text(), QString::fromUtf8(c.notice)) << c.name;
        EXPECT_EQ(Text(panel.get(), 1037), QString::fromUtf8(c.temperature)) << c.name;
        const auto* value = panel->findChild<QLabel*>(QStringLiteral("id1015"));
        EXPECT_EQ(value->palette().color(QPalette::WindowText) == QColor(0, 0, 255),
                  c.link.state == LinkState::Ok)
            << c.name;
        const TrendHistory& history = panel->Chart()->Core().History();
        EXPECT_EQ(history.IsMeasured(history.Count() - 1), c.link.state == LinkState::Ok) << c.name;
        if (!out.isEmpty())
            panel->grab().save(out + QStringLiteral("/panel_%1.png").arg(QLatin1String(c.name)));
    }
}

TEST_F(PannelDlgTest, SnapshotsForTheEye) {
    // Writes a panel and a chart picture when ORSAN_SNAPSHOT_DIR is set.
    const QString out = qEnvironmentVariable("ORSAN_SNAPSHOT_DIR");
    WriteChartIni(
        "[CH1]\r\nTMin=0\r\nTMax=80\r\nAMax=10\r\nVMax=20\r\nDMax=50\r\n"
        "SHOW0=1\r\nSHOW1=1\r\nSHOW2=0\r\nSHOW3=1\r\nSHOW4=1\r\nSHOW5=1\r\nSHOW6=1\r\n"
        "SHOW7=1\r\nSHOW8=1\r\nSHOW9=1\r\n");
    auto panel = MakePanel(0);
    LiveRow row{};
    for (int i = 0; i < kLiveSlots; ++i) row[i] = 1.25f * (i + 1);
    row[kSlotTShell] = 36.4f;
    row[kSlotRunningSpeed] = 24.95f;
    live_[0] = row;
    panel->RefreshLiveValues();
    // With an outage in the last third: the curves break there.
    for (int i = 0; i < 1800; ++i)
        panel->Chart()->AppendSample(test::PlausibleTrendSample(i), i < 1200 || i >= 1350);
    const EdgeRect& plot = panel->Chart()->Core().Layout().plotRect;
    panel->Chart()->Core().SetCursorFromClick(QPoint(plot.left + plot.Width() / 3, plot.top + 5));
    panel->show();
    const QImage grabbed = panel->grab().toImage();
    EXPECT_EQ(grabbed.size(), panel->size() * grabbed.devicePixelRatio());
    // The readout line is on screen, not in the saved picture.
    const QPoint cursor = panel->Chart()->geometry().topLeft() +
                          QPoint(panel->Chart()->Core().CursorX(), plot.top + 1);
    EXPECT_EQ(grabbed.pixel(cursor) | 0xff000000u, qRgb(0, 0, 255));
    if (!out.isEmpty()) {
        grabbed.save(out + QStringLiteral("/panel.png"));
        QString error;
        EXPECT_TRUE(panel->Chart()->SavePicture(out + QStringLiteral("/chart.png"), &error));
    }
}

}  // namespace
}  // namespace orsan
