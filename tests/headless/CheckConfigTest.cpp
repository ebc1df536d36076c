#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "ChildProcess.h"
#include "SimProcess.h"
#include "TempDir.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;

// --check-config names every finding of the three INI files and fails; a
// clean folder passes silently. The same Config.ini findings open a headless run.
TEST(CheckConfigTest, NamesEveryFindingAndFailsOnlyWithOne) {
    test::TempDir folder{"orsan-checkconfig"};
    const std::filesystem::path dir = folder.Path();
    const auto check = [&] {
        test::ChildProcess child(test::StationPath(),
                                 {"--check-config", "--data-dir", dir.string()});
        std::string output;
        while (const auto line = child.ReadLine(10s)) output += *line + "\n";
        return std::make_pair(child.WaitExit(10s), output);
    };
    const std::string config = "[DAQ]\nINTERVAL=1.0\n[SENSOR]\nID1IP1=127\nID1IP4=";
    std::ofstream(dir / "Config.ini") << config << "1\n";
    std::ofstream(dir / "Alarm.ini") << "[ID1]\nDELAY=3\nTEMP_ALARM=80\nTEMP_TRIP=95\n";
    std::ofstream(dir / "Chart.ini") << "[CH1]\nTMax=90\nSHOW1=1\n";
    EXPECT_EQ(check(), std::make_pair(std::optional<int>(0), std::string()));

    std::ofstream(dir / "Config.ini") << config << "300\nID1PORT=0\n[SENSR]\n";
    std::ofstream(dir / "Alarm.ini", std::ios::app) << "DELAYY=1\n";
    std::ofstream(dir / "Chart.ini", std::ios::app) << "SHOW2=yes\n";
    const auto [code, output] = check();
    EXPECT_EQ(code, std::optional<int>(1));
    for (const char* finding :
         {"Config.ini [SENSOR] ID1IP4=300", "Config.ini [SENSOR] ID1PORT=0", "Config.ini [SENSR]",
          "Alarm.ini [ID1] DELAYY", "Chart.ini [CH1] SHOW2=yes"})
        EXPECT_NE(output.find(finding), std::string::npos) << finding << "\n" << output;

    test::ChildProcess headless(test::StationPath(),
                                {"--headless", "--duration", "1", "--data-dir", dir.string()},
                                test::ChildProcess::Options{true});
    EXPECT_EQ(headless.WaitExit(15s), std::optional<int>(0));
    EXPECT_NE(headless.ReadAllStderr().find("orsan-monitor: Config.ini [SENSOR] ID1IP4=300"),
              std::string::npos);
}

}  // namespace
}  // namespace orsan
