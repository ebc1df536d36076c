#include <gtest/gtest.h>
#include <unistd.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <sstream>

#include "DesktopShell.h"
#include "DxAlarmStatic.h"
#include "DxChartRealTime.h"
#include "FakeWavePeer.h"
#include "FrequencyView.h"
#include "MessageHook.h"
#include "SensorEndpoint.h"
#include "TranslationProbe.h"
#include "WavDaqDlg.h"
#include "WaveChartRenderer.h"
#include "WaveTestData.h"

namespace orsan {
namespace {

namespace fs = std::filesystem;
using test::FakeWavePeer;

constexpr uint32_t kLoopback = MakeAddress(127, 0, 0, 1);

class DialogTest : public ::testing::Test {
protected:
    void Open(uint16_t port, int stallMs = 3000, TraceSink trace = {}) {
        WaveCaptureOptions options;
        options.port = port;
        options.stallLimitMs = stallMs;
        options.trace = std::move(trace);
        dialog = std::make_unique<WavDaqDlg>(kLoopback, QString::fromStdString(desktop.string()),
                                             nullptr, options);
        dialog->show();
    }
    template <class T>
    T* Control(int id) {
        return dialog->findChild<T*>(QStringLiteral("id%1").arg(id));
    }
    QString Text(int id) { return Control<QLabel>(id)->text(); }
    void StartAndWaitForIdle(int durationIndex = 0) {
        Control<QComboBox>(1117)->setCurrentIndex(durationIndex);
        QTest::mouseClick(Control<QPushButton>(1109), Qt::LeftButton);
        ASSERT_TRUE(dialog->IsCapturing());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsCapturing(); }, 20000));
    }
    // Duration, start, export and slider, all enabled or all disabled.
    bool ControlsAre(bool enabled) {
        return Control<QComboBox>(1117)->isEnabled() == enabled &&
               Control<QPushButton>(1109)->isEnabled() == enabled &&
               Control<QPushButton>(1111)->isEnabled() == enabled &&
               Control<QSlider>(1123)->isEnabled() == enabled;
    }

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "wavedlg-XXXXXX").string();
        desktop = ::mkdtemp(pattern.data());
    }
    void TearDown() override {
        dialog.reset();
        fs::remove_all(desktop);
    }

    fs::path desktop;
    std::unique_ptr<WavDaqDlg> dialog;
    ScopedMessageHook hook;
    const std::vector<HookedNotice>& messages = hook.Notices();
};

TEST_F(DialogTest, OpensIdleWithAddressCaptionAndDurations) {
    WavDaqDlg dlg(MakeAddress(192, 168, 1, 10), QString());
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("读取传感器 { 192.168.1.10 } 波形"));
    auto* duration = dlg.findChild<QComboBox*>("id1117");
    ASSERT_NE(duration, nullptr);
    QStringList items;
    for (int i = 0; i < duration->count(); ++i) items << duration->itemText(i);
    EXPECT_EQ(items, (QStringList{"1  S", "2  S", "3  S", "4  S", "5  S", "6  S", "7  S", "8  S",
                                  "9  S", "10S"}));
    EXPECT_EQ(duration->currentIndex(), 0);
    for (int id : {1118, 1119, 1120})
        EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("id%1").arg(id))->text(), "-");
    EXPECT_FALSE(dlg.findChild<DxAlarmStatic*>("id1121")->IsOn());
    auto* slider = dlg.findChild<QSlider*>("id1123");
    EXPECT_EQ(slider->minimum(), 0);
    EXPECT_EQ(slider->maximum(), 0);  // nothing captured yet
    EXPECT_EQ(dlg.findChild<QPushButton*>("id1109")->text(), "开始采集");
    EXPECT_EQ(dlg.findChild<QPushButton*>("id1111")->text(), "导出数据");
    EXPECT_NE(dlg.findChild<DxChartRealTime*>("id1122"), nullptr);
}

TEST_F(DialogTest, EnterAndEscapeDoNotClose) {
    Open(test::ClosedLoopbackPort());
    for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(dialog.get(), Qt::Key(key));
        EXPECT_TRUE(dialog->isVisible()) << key;
    }
}

QStringList* gWaveLines = nullptr;
void KeepWaveLines(QtMsgType, const QMessageLogContext& context, const QString& text) {
    if (gWaveLines && qstrcmp(context.category, "orsan.wave") == 0) gWaveLines->append(text);
}

TEST_F(DialogTest, TickDiagnosticsReachOrsanWaveOnlyWhenSwitchedOn) {
    for (const bool on : {false, true}) {
        QStringList lines;
        gWaveLines = &lines;
        QLoggingCategory::setFilterRules(on ? QStringLiteral("orsan.wave.debug=true") : QString());
        const QtMessageHandler previous = qInstallMessageHandler(KeepWaveLines);
        FakeWavePeer peer(test::KnownPacketStream(2, 512.5f), {1420});
        Open(peer.Port());
        StartAndWaitForIdle();
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        gWaveLines = nullptr;
        // One line per tick that brought samples, the last with the total.
        EXPECT_EQ(lines.isEmpty(), !on) << lines.join('|').toStdString();
        if (on && !lines.isEmpty()) {
            EXPECT_EQ(lines.last(), QStringLiteral("get datas 232"));
        }
    }
}

TEST_F(DialogTest, CaptureOfTwoPacketsShowsAndExportsThem) {
    // Two packets are the whole of ten seconds at 23.5 Hz: no shortfall.
    FakeWavePeer peer(test::KnownPacketStream(2, 23.5f), {24, 1000, 396, 700});
    Open(peer.Port());
    Control<QComboBox>(1117)->setCurrentIndex(9);
    QTest::mouseClick(Control<QPushButton>(1109), Qt::LeftButton);
    EXPECT_TRUE(ControlsAre(false));
    EXPECT_TRUE(Control<DxAlarmStatic>(1121)->IsOn());
    EXPECT_TRUE(QRegularExpression("^\\d\\d时\\d\\d分\\d\\d秒$").match(Text(1118)).hasMatch())
        << Text(1118).toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog->IsCapturing(); }, 10000));

    const auto request = BuildWaveRequest(10);
    EXPECT_EQ(peer.Request(), std::vector<uint8_t>(request.begin(), request.end()));
    EXPECT_EQ(dialog->SampleCount(), 232);
    EXPECT_EQ(Text(1119), "232");
    EXPECT_EQ(Text(1120), "23.5");
    EXPECT_TRUE(ControlsAre(true));
    EXPECT_FALSE(Control<DxAlarmStatic>(1121)->IsOn());
    // The first second fills the chart's window from its left.
    const auto known = test::KnownSamples(232);
    const auto& chartX = dialog->Chart()->Content().samples[0];
    EXPECT_EQ(chartX[0], known[0]);
    EXPECT_EQ(chartX[231], known[3 * 231]);
    EXPECT_EQ(chartX[232], 0.0f);

    QTest::mouseClick(Control<QPushButton>(1111), Qt::LeftButton);
    const fs::path expectedPath =
        desktop / ("传感器[127.0.0.1]时间" + Text(1118).toStdString() + "采样率23.5Hz.txt");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Information);
    EXPECT_EQ(messages[0].owner, dialog.get());
    EXPECT_EQ(messages[0].text.toStdString(), expectedPath.string());
    std::ifstream in(expectedPath, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    EXPECT_EQ(content.str(), test::ExpectedWaveFile(232));

    // The spectrum page replaces the time view with the analysis of the whole capture.
    QTest::mouseClick(Control<QPushButton>(1130), Qt::LeftButton);
    EXPECT_FALSE(dialog->Chart()->isVisible());
    ASSERT_TRUE(dialog->Spectrum()->isVisible());
    const AmplitudeSpectrum& x = dialog->Spectrum()->View()->Content().spectra[0];
    EXPECT_EQ(x.amplitude.size(), 117u);
    EXPECT_DOUBLE_EQ(x.lineSpacing, 23.5 / 232);
    EXPECT_EQ(dialog->Spectrum()->ExportPath("csv").toStdString(),
              (desktop /
               ("传感器[127.0.0.1]时间" + Text(1118).toStdString() + "采样率23.5Hz_频谱_acc.csv"))
                  .string());
    // 0.4 x 23.5 Hz leaves no envelope band above 500 Hz: that kind alone is missing.
    Control<QComboBox>(1131)->setCurrentIndex(2);
    EXPECT_FALSE(Control<QPushButton>(1135)->isEnabled());
    QTest::mouseClick(Control<QPushButton>(1130), Qt::LeftButton);
    EXPECT_TRUE(dialog->Chart()->isVisible());
    EXPECT_FALSE(dialog->Spectrum()->isVisible());
}

TEST_F(DialogTest, ExportThatCannotBeWrittenSaysSo) {
    FakeWavePeer peer(test::KnownPacketStream(1, 100), {1420});
    Open(peer.Port());
    StartAndWaitForIdle();
    ASSERT_EQ(dialog->SampleCount(), 116);
    // A regular file where the desktop folder should be: not writable even for root.
    fs::remove_all(desktop);
    std::ofstream(desktop).put('x');
    QTest::mouseClick(Control<QPushButton>(1111), Qt::LeftButton);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
    EXPECT_TRUE(messages[0].text.contains(dialog->ExportPath())) << messages[0].text.toStdString();
    EXPECT_TRUE(messages[0].text.contains("失败"));
}

TEST_F(DialogTest, AFailedOrShortCaptureSaysSoWithWhatItHolds) {
    auto midPacket = test::KnownPacketStream(2, 116.0f);
    midPacket.resize(midPacket.size() + 700, 0x33);
    const struct {
        std::optional<std::vector<uint8_t>> stream;  // none: nobody listens
        const char* says;                            // nullptr: no message
    } cases[] = {{std::nullopt, "连接传感器失败"},
                 {midPacket, "传感器在数据包中途关闭了连接，已采集 232 点，应为 232 点"},
                 {test::KnownPacketStream(1, 116.0f), "已采集 116 点，应为 232 点"},
                 {test::KnownPacketStream(2, 116.0f), nullptr}};
    for (const auto& c : cases) {
        std::optional<FakeWavePeer> peer;
        if (c.stream) peer.emplace(*c.stream, std::vector<size_t>{500});
        Open(peer ? peer->Port() : test::ClosedLoopbackPort());
        hook.Clear();
        StartAndWaitForIdle(1);
        ASSERT_EQ(messages.size(), c.says ? 1u : 0u) << (c.says ? c.says : "complete");
        if (!c.says) continue;
        EXPECT_EQ(messages[0].icon, QMessageBox::Warning);
        EXPECT_TRUE(messages[0].text.contains(QString::fromUtf8(c.says)))
            << messages[0].text.toStdString();
    }
}

TEST_F(DialogTest, LanguageFollowsASwitchAtRunTimeAndFilesKeepTheirNames) {
    FakeWavePeer peer(test::KnownPacketStream(2, 23.5f), {500});
    Open(peer.Port());
    StartAndWaitForIdle(1);
    const QString path = dialog->ExportPath();
    const QString time = Text(1118);
    const auto shown = [&] {
        auto* kinds = dialog->findChild<QComboBox*>("id1131");
        return QStringList{dialog->windowTitle(), Control<QPushButton>(1109)->text(), Text(1118),
                           kinds->itemText(kinds->currentIndex()),
                           dialog->findChild<QPushButton*>("id1133")->toolTip()};
    };
    const QStringList chinese = shown();
    const QStringList english = ShownWhileMarked(shown);
    EXPECT_EQ(english,
              (QStringList{"«读取传感器 { 127.0.0.1 } 波形»", "«开始采集»", "«" + time + "»",
                           "«加速度频谱»", "«在光标所在谱线的1至10倍处标记»"}));
    EXPECT_EQ(shown(), chinese);
    EXPECT_EQ(dialog->ExportPath(), path);  // a file name is never translated
}

TEST_F(DialogTest, UnreachableSensorReturnsToIdleWithNothingToExport) {
    Open(test::ClosedLoopbackPort());
    StartAndWaitForIdle();
    EXPECT_EQ(dialog->SampleCount(), 0);
    EXPECT_TRUE(ControlsAre(true));
    EXPECT_FALSE(Control<DxAlarmStatic>(1121)->IsOn());
    EXPECT_EQ(dialog->Capture().End(), WaveCaptureEnd::ConnectFailed);
    hook.Clear();  // the failed capture's own message
    QTest::mouseClick(Control<QPushButton>(1111), Qt::LeftButton);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(fs::is_empty(desktop));
}

TEST_F(DialogTest, StalledSensorEndsTheCaptureKeepingItsSamples) {
    FakeWavePeer peer(test::KnownPacketStream(3, 26667), {500}, FakeWavePeer::Ending::Stall);
    Open(peer.Port(), 400);
    StartAndWaitForIdle(2);
    EXPECT_EQ(dialog->Capture().End(), WaveCaptureEnd::Stalled);
    EXPECT_EQ(dialog->SampleCount(), 348);
    EXPECT_EQ(Text(1119), "348");
    EXPECT_TRUE(ControlsAre(true));
}

TEST_F(DialogTest, ClosingMidCaptureStopsAndJoinsTheThread) {
    FakeWavePeer peer(test::KnownPacketStream(2, 26667), {1420}, FakeWavePeer::Ending::Stall);
    Open(peer.Port(), 600000);
    QTest::mouseClick(Control<QPushButton>(1109), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog->SampleCount() == 232; }, 10000));
    ASSERT_TRUE(dialog->Capture().Running());
    dialog->close();
    EXPECT_FALSE(dialog->Capture().Running());
    EXPECT_EQ(dialog->Capture().End(), WaveCaptureEnd::Stopped);
    EXPECT_FALSE(dialog->IsCapturing());
    EXPECT_FALSE(Control<DxAlarmStatic>(1121)->IsOn());
    dialog.reset();  // and the dialog goes without waiting for the ten-minute limit
}

TEST_F(DialogTest, DestroyingMidCaptureJoinsTheThread) {
    FakeWavePeer peer(test::KnownPacketStream(1, 26667), {1420}, FakeWavePeer::Ending::Stall);
    std::mutex mutex;
    std::vector<std::string> lines;
    Open(peer.Port(), 600000, [&](std::string_view line) {
        std::lock_guard lock(mutex);
        lines.emplace_back(line);
    });
    QTest::mouseClick(Control<QPushButton>(1109), Qt::LeftButton);
    peer.WaitSent();
    dialog.reset();
    // The thread's last words were written before the dialog finished going.
    std::lock_guard lock(mutex);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "波形采集线程被强制终止了\n"), lines.end());
}

TEST_F(DialogTest, SliderShowsTheChosenSecond) {
    // Two seconds and a bit, each sample carrying its own index in X.
    std::vector<uint8_t> stream;
    const int packets = 2 * 26667 / 116 + 2;
    for (int p = 0; p < packets; ++p) {
        std::vector<float> xyz(348);
        for (int i = 0; i < 116; ++i) {
            xyz[size_t(3 * i)] = float(p * 116 + i);
            xyz[size_t(3 * i + 1)] = -float(p * 116 + i);
            xyz[size_t(3 * i + 2)] = 0.25f;
        }
        const auto packet = test::MakeWavePacket(p, 26667, xyz);
        stream.insert(stream.end(), packet.begin(), packet.end());
    }
    FakeWavePeer peer(stream, {1420});
    Open(peer.Port());
    StartAndWaitForIdle(2);
    ASSERT_EQ(dialog->SampleCount(), packets * 116);

    // Two seconds and the start of a third; the capture ends on the third,
    // its samples first and zeros after them, at its own time.
    auto* slider = Control<QSlider>(1123);
    EXPECT_EQ(slider->maximum(), 2);
    EXPECT_EQ(slider->value(), 2);
    const auto& chart = dialog->Chart()->Content();
    const ChartView& view = dialog->Chart()->View();
    EXPECT_EQ(chart.samples[0][141], float(2 * 26667 + 141));
    EXPECT_EQ(chart.samples[0][142], 0.0f);
    EXPECT_EQ(view.x.min, 2);
    for (int second : {1, 0, 1}) {
        slider->setValue(second);
        emit slider->sliderReleased();
        EXPECT_EQ(chart.samples[0].front(), float(second * 26667));
        EXPECT_EQ(chart.samples[0].back(), float(second * 26667 + 26666));
        EXPECT_EQ(chart.samples[1][100], -float(second * 26667 + 100));
        EXPECT_EQ(view.x.min, float(second));
        EXPECT_EQ(view.x.max, float(second + 1));
    }
    // A click beside the handle and an arrow key move the slider without a
    // release of its handle; the chart follows them all the same.
    slider->setValue(0);
    emit slider->sliderReleased();
    QTest::keyClick(slider, Qt::Key_Right);
    ASSERT_EQ(slider->value(), 1);
    EXPECT_EQ(chart.samples[0].front(), float(26667));
    EXPECT_EQ(chart.samples[1][100], -float(26667 + 100));
    emit slider->sliderReleased();
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(2, slider->height() / 2));
    ASSERT_EQ(slider->value(), 0);
    EXPECT_EQ(chart.samples[0].front(), 0.0f);
    EXPECT_EQ(chart.samples[0].back(), float(26666));
    // A new capture moves the slider back to the first second.
    FakeWavePeer again(test::KnownPacketStream(1, 1), {1420});
    dialog.reset();
    Open(again.Port());
    Control<QSlider>(1123)->setValue(4);
    StartAndWaitForIdle();
    EXPECT_EQ(Control<QSlider>(1123)->value(), 0);
}

TEST_F(DialogTest, CapturedCurvesAppearInTheDialog) {
    // 230 packets of the table values, several far outside the -1..1 range.
    FakeWavePeer peer(test::KnownPacketStream(230, 26667), {999});
    Open(peer.Port());
    StartAndWaitForIdle();
    ASSERT_EQ(dialog->SampleCount(), 230 * 116);
    const QImage picture = dialog->grab().toImage();
    if (const char* out = std::getenv("ORSAN_WAVE_GRAB")) picture.save(QString::fromLocal8Bit(out));
    const QRect chart = dialog->Chart()->geometry();
    int found[3] = {0, 0, 0};
    for (int y = chart.top(); y <= chart.bottom(); ++y)
        for (int x = chart.left(); x <= chart.right(); ++x)
            for (int c = 0; c < 3; ++c)
                found[c] += QColor(picture.pixel(x, y)) == kWaveCurveColors[c];
    // Z is drawn last and covers most of the band; X and Y still show.
    for (int c = 0; c < 3; ++c) EXPECT_GT(found[c], 0) << c;
}

}  // namespace
}  // namespace orsan
