// Saving the configuration with 11 -> register 76, and loading it at start.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "SimProcess.h"
#include "TempDir.h"
#include "WireClient.h"

namespace orsan::test {
namespace {

std::vector<std::string> Args(const std::string& stateFile) {
    return {"--sensors", "2", "--port", "0", "--wave-port", "0", "--state-file", stateFile};
}

uint16_t Read(SimProcess& sim, int k, uint16_t reg) {
    const auto v = ReadRegisters(sim.Sensor(k).address, sim.Sensor(k).modbusPort, reg, 1);
    EXPECT_EQ(v.size(), 1u) << "register " << reg;
    return v.empty() ? 0 : v[0];
}

void Write(SimProcess& sim, int k, uint16_t reg, uint16_t value) {
    const auto reply = WriteRegister(sim.Sensor(k).address, sim.Sensor(k).modbusPort, reg, value);
    EXPECT_EQ(reply, ModbusRequest(7, 6, reg, value)) << "register " << reg;
}

TEST(StateFile, SaveCommandStoresTheSensorsConfigurationForTheNextStart) {
    TempDir dir;
    const std::string path = dir.File("sim-state.txt");
    {
        SimProcess sim(Args(path));
        Write(sim, 1, 120, 250);
        Write(sim, 1, 117, 0xA8C0);
        EXPECT_FALSE(std::filesystem::exists(path)) << "nothing is stored before the save";
        Write(sim, 1, 76, 11);
        ASSERT_TRUE(std::filesystem::exists(path));
        const std::string text = ReadWholeFile(path);
        EXPECT_NE(text.find("\n1 120 250\n"), std::string::npos) << text;
        EXPECT_NE(text.find("\n1 117 43200\n"), std::string::npos) << text;
        // Written after the save: lost at the next start, as on a real sensor.
        Write(sim, 1, 77, 55);
        // Sensor 2 never saved: it keeps nothing.
        Write(sim, 2, 120, 300);
        EXPECT_EQ(text.find("\n2 "), std::string::npos) << text;
        EXPECT_EQ(sim.Stop(), 0);
    }
    // Only the file itself is left: the temporary it was written through is gone.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                            std::filesystem::directory_iterator()),
              1);
    SimProcess again(Args(path));
    EXPECT_EQ(Read(again, 1, 120), 250);
    EXPECT_EQ(Read(again, 1, 117), 0xA8C0);
    EXPECT_EQ(Read(again, 1, 77), 10);
    EXPECT_EQ(Read(again, 2, 120), 100);
}

TEST(StateFile, OtherWritesToRegister76DoNotSave) {
    TempDir dir;
    const std::string path = dir.File("state.txt");
    SimProcess sim(Args(path));
    Write(sim, 1, 76, 10);
    Write(sim, 1, 76, 12);
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(StateFile, SkipsLinesThatMakeNoSenseAndKeepsTheRest) {
    TempDir dir;
    const std::string path = dir.File("state.txt");
    {
        std::ofstream out(path);
        out << "# saved\n"
               "1 120 321\n"
               "1 5 777\n"     // a measurement register is not configuration
               "1 77 70000\n"  // beyond 16 bits
               "garbage line\n"
               "2 132 2000 9\n"  // extra field
               "2 131 1\n";
    }
    SimProcess sim(Args(path));
    EXPECT_EQ(Read(sim, 1, 120), 321);
    EXPECT_EQ(Read(sim, 1, 77), 10);
    EXPECT_EQ(Read(sim, 2, 132), 2500);
    EXPECT_EQ(Read(sim, 2, 131), 1);
}

TEST(StateFile, SaveThatCannotBeWrittenIsReportedToTheWriter) {
    TempDir dir;
    // The state file's folder does not exist, so the save must fail.
    SimProcess sim(Args(dir.File("missing/state.txt")));
    const auto reply = WriteRegister(sim.Sensor(1).address, sim.Sensor(1).modbusPort, 76, 11);
    ASSERT_EQ(reply.size(), 9u);
    EXPECT_EQ(reply[7], 0x86);
    EXPECT_EQ(reply[8], 0x04);
}

}  // namespace
}  // namespace orsan::test
