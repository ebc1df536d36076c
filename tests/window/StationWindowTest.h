#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "OrsanSensorMonitorDlg.h"
#include "RecordDatabase.h"
#include "SensorPoller.h"

namespace orsan::test {

// The lamps of sensors 1 to 6; simulator arguments for two loopback sensors.
inline constexpr int kLampIds[kSensorCount] = {1059, 1060, 1061, 1056, 1057, 1058};
inline const std::vector<std::string> kTwoSimSensors = {"--sensor",    "127.0.0.1:0", "--sensor",
                                                        "127.0.0.2:0", "--wave-port", "0"};

// The main window over a private data folder, its poller and its database;
// Prepare runs on the new window before it is shown.
class StationWindowTest : public ::testing::Test {
protected:
    QTemporaryDir dataDir;
    SensorPoller poller;
    RecordDatabase database;
    std::unique_ptr<OrsanSensorMonitorDlg> window;

    void TearDown() override {
        window.reset();
        poller.StopPolling();
    }
    virtual void Prepare(OrsanSensorMonitorDlg&) {}
    void OpenWindow() {
        window = std::make_unique<OrsanSensorMonitorDlg>(
            StationPaths{dataDir.path(), dataDir.path()}, poller, database);
        Prepare(*window);
        window->show();
    }
};

}  // namespace orsan::test
