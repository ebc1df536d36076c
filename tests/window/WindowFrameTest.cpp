#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "MessageDlg.h"
#include "OrsanSensorMonitorDlg.h"
#include "RecordDatabase.h"
#include "SensorPoller.h"
#include "SetChartDlg.h"
#include "SetExpDlg.h"
#include "SetShowDlg.h"
#include "SettingParsDlg.h"
#include "WavDaqDlg.h"

namespace orsan {
namespace {

struct DialogCase {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
};

// Every dialog of the station: a close box, no minimise or maximise button.
TEST(WindowFrameTest, DialogsHaveOnlyACloseBox) {
    const DialogCase cases[] = {
        {"MessageDlg", [] { return std::make_unique<MessageDlg>(); }},
        {"YesnoMsgDlg", [] { return std::make_unique<YesnoMsgDlg>(); }},
        {"SetChartDlg", [] { return std::make_unique<SetChartDlg>(); }},
        {"SetShowDlg", [] { return std::make_unique<SetShowDlg>(); }},
        {"SetExpDlg", [] { return std::make_unique<SetExpDlg>(); }},
        {"SettingParsDlg", [] { return std::make_unique<SettingParsDlg>(); }},
        {"WavDaqDlg", [] { return std::make_unique<WavDaqDlg>(0u, QString()); }},
    };
    for (const DialogCase& c : cases) {
        const std::unique_ptr<QWidget> dialog = c.make();
        const Qt::WindowFlags flags = dialog->windowFlags();
        EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint)) << c.name;
        EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint)) << c.name;
        EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint)) << c.name;
        EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint)) << c.name;
        EXPECT_FALSE(flags.testFlag(Qt::WindowContextHelpButtonHint)) << c.name;
    }
}

TEST(WindowFrameTest, MainWindowMinimisesButNeverMaximises) {
    QTemporaryDir dataDir;
    SensorPoller poller;
    RecordDatabase database;
    OrsanSensorMonitorDlg window(StationPaths{dataDir.path(), dataDir.path()}, poller, database);
    window.show();
    const Qt::WindowFlags flags = window.windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::CustomizeWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());  // fixed size
    window.close();
    poller.StopPolling();
}

}  // namespace
}  // namespace orsan
