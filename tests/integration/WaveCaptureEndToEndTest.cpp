// Waveform captures against the real simulator on loopback: the capture
// thread, the command and the dialog, each end to end.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <fstream>
#include <sstream>

#include "DesktopShell.h"
#include "DxChartRealTime.h"
#include "MessageHook.h"
#include "SensorEndpoint.h"
#include "SimProcess.h"
#include "TempDir.h"
#include "WavDaqDlg.h"
#include "WaveCapture.h"
#include "WaveCaptureCommand.h"

namespace orsan {
namespace {

using test::SimProcess;

std::vector<std::string> SimArgs() {
    return {"--sensors", "1", "--port", "0", "--wave-port", "0", "--seed", "11"};
}

uint32_t AddressOf(const test::SimSensor& sensor) {
    uint32_t address = 0;
    EXPECT_TRUE(ParseAddress(sensor.address, address));
    return address;
}

WaveCaptureOptions Options(uint16_t port, int stallMs = 3000) {
    WaveCaptureOptions options;
    options.port = port;
    options.stallLimitMs = stallMs;
    options.trace = {};
    return options;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", start)) {
        lines.push_back(text.substr(start, p - start));
        start = p + 2;
    }
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

TEST(WaveEndToEnd, OneSecondCaptureDeliversWholePacketsOfPlausibleSamples) {
    SimProcess sim(SimArgs());
    const auto& sensor = sim.Sensor(1);
    WaveCapture capture(Options(sensor.wavePort));
    ASSERT_TRUE(capture.Start(AddressOf(sensor), 1));
    capture.Wait();
    EXPECT_EQ(capture.End(), WaveCaptureEnd::Completed);
    const WaveDrain drain = capture.State().Drain();
    const size_t n = drain.SampleCount();
    EXPECT_EQ(n % 116, 0u);
    EXPECT_GE(n, 26667u - 116u);
    EXPECT_LE(n, 26667u + 116u);
    EXPECT_GT(drain.sampleRate, 1000.0f);
    // A vibration, not silence or garbage: finite values that move.
    float low = 1e9f, high = -1e9f;
    for (float v : drain.samples) {
        ASSERT_TRUE(std::isfinite(v));
        low = std::min(low, v);
        high = std::max(high, v);
    }
    EXPECT_GT(high - low, 0.001f);
    EXPECT_LT(high - low, 1000.0f);
}

TEST(WaveEndToEnd, SensorFaultsEndTheCaptureCleanly) {
    SimProcess sim(SimArgs());
    const auto& sensor = sim.Sensor(1);
    struct Case {
        const char* fault;
        std::vector<WaveCaptureEnd> ends;
        int exitCode;      // of the capture command against the same fault
        const char* says;  // in its message
    };
    for (const Case& c :
         {Case{
              "stall", {WaveCaptureEnd::Stalled}, kCaptureIncomplete, "传感器停止发送数据，已采集"},
          Case{"cut",
               {WaveCaptureEnd::ClosedMidPacket, WaveCaptureEnd::ReceiveError},
               kCaptureIncomplete,
               "，已采集 "},
          Case{"refuse",
               {WaveCaptureEnd::ConnectFailed, WaveCaptureEnd::Completed,
                WaveCaptureEnd::ReceiveError},
               kCaptureNoData,
               "波形采集失败"}}) {
        sim.SetWaveFault(1, c.fault);
        WaveCapture capture(Options(sensor.wavePort, 500));
        ASSERT_TRUE(capture.Start(AddressOf(sensor), 2));
        capture.Wait();
        EXPECT_FALSE(capture.Running()) << c.fault;
        EXPECT_NE(std::find(c.ends.begin(), c.ends.end(), capture.End()), c.ends.end())
            << c.fault << " ended " << WaveCaptureEndText(capture.End());
        const size_t n = capture.State().Drain().SampleCount();
        EXPECT_EQ(n % 116, 0u) << c.fault;
        if (std::string(c.fault) == "refuse") {
            EXPECT_EQ(n, 0u);
        }
        if (std::string(c.fault) == "cut") {
            EXPECT_LT(n, 2u * 26667u);
        }
        // The command cut short exits non-zero and says why, with counts.
        test::TempDir folder("wave-fault");
        std::ostringstream out, err;
        EXPECT_EQ(RunCaptureCommand(AddressOf(sensor), 2, folder.File("out.txt"), "",
                                    sensor.wavePort, out, err),
                  c.exitCode)
            << c.fault << ": " << err.str();
        EXPECT_NE(err.str().find(c.says), std::string::npos) << c.fault << ": " << err.str();
    }
    sim.SetWaveFault(1, "none");
}

TEST(WaveEndToEnd, CommandWritesAFileOfEverySample) {
    SimProcess sim(SimArgs());
    const auto& sensor = sim.Sensor(1);
    test::TempDir folder("wave-e2e");
    // Into the default folder, and into a folder named by --out.
    const std::string dir = folder.Path().string();
    std::string path;
    for (const auto& [outPath, defaultFolder] :
         {std::pair{std::string(), dir}, std::pair{dir + "/", std::string("/nonexistent")}}) {
        std::ostringstream out, err;
        ASSERT_EQ(RunCaptureCommand(AddressOf(sensor), 1, outPath, defaultFolder, sensor.wavePort,
                                    out, err),
                  kCaptureOk)
            << outPath << err.str();
        path = out.str().substr(0, out.str().find('\n'));
        EXPECT_EQ(path.rfind(dir + "/传感器[" + sensor.address + "]时间", 0), 0u) << path;
    }
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const auto lines = Lines(text.str());
    ASSERT_GE(lines.size(), 2u + 26667u - 116u);
    EXPECT_EQ(lines.front(), "Acc_X(g)       Acc_Y(g)       Acc_Z(g)       ");
    EXPECT_EQ(lines.back(), "");
    EXPECT_EQ((lines.size() - 2) % 116, 0u);
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        ASSERT_GE(lines[i].size(), 45u) << i;
        for (int f = 0; f < 3; ++f) {
            const std::string field = lines[i].substr(size_t(15 * f), 15);
            char* end = nullptr;
            std::strtof(field.c_str(), &end);
            ASSERT_NE(end, field.c_str()) << "line " << i << " field " << f;
        }
    }
}

TEST(WaveEndToEnd, DialogCapturesShowsAndExports) {
    SimProcess sim(SimArgs());
    const auto& sensor = sim.Sensor(1);
    test::TempDir desktop("wave-e2e-desk");
    WavDaqDlg dialog(AddressOf(sensor), QString::fromStdString(desktop.Path().string()), nullptr,
                     Options(sensor.wavePort));
    ScopedMessageHook hook;
    dialog.show();
    dialog.findChild<QComboBox*>("id1117")->setCurrentIndex(1);  // "2  S"
    QTest::mouseClick(dialog.findChild<QPushButton*>("id1109"), Qt::LeftButton);
    // While the capture runs, the count grows tick by tick.
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.SampleCount() > 0; }, 5000));
    EXPECT_TRUE(dialog.IsCapturing());
    EXPECT_LT(dialog.SampleCount(), 2 * 26667);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.IsCapturing(); }, 15000));
    EXPECT_GE(dialog.SampleCount(), 2 * 26667 - 116);
    // Two seconds to page through, the last one shown with its own times.
    EXPECT_EQ(dialog.findChild<QSlider*>("id1123")->maximum(), 1);
    EXPECT_EQ(dialog.Chart()->View().x.min, 1);
    EXPECT_EQ(dialog.findChild<QLabel*>("id1119")->text(), QString::number(dialog.SampleCount()));

    QTest::mouseClick(dialog.findChild<QPushButton*>("id1111"), Qt::LeftButton);
    const QString shown = hook.LastNoticeText();
    ASSERT_FALSE(shown.isEmpty());
    std::ifstream in(shown.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    EXPECT_EQ(Lines(text.str()).size(), size_t(dialog.SampleCount()) + 2);

    if (const char* grab = std::getenv("ORSAN_WAVE_GRAB")) dialog.grab().save(grab);
}

}  // namespace
}  // namespace orsan
