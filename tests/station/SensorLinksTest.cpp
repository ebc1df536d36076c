#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "StationConfig.h"

namespace orsan {
namespace {

// [DAQ] TIMEOUT_MS, [SENSOR] ID2TIMEOUT_MS and ID2UNIT as written (null:
// absent); what sensors 1 and 2 get; which of the three are refused, each
// with a message naming it.
TEST(SensorLinksTest, LimitsAndUnitsAreWholeNumbersInRangeOrRefusedWithTheirDefault) {
    struct Case {
        const char* values[3];
        int limit1, limit2, unit2;
        bool refused[3];
    };
    const Case cases[] = {
        {{nullptr, nullptr, nullptr}, 400, 400, 1, {}},
        {{" 1000 ", "450", "247"}, 1000, 450, 247, {}},
        {{"100", "5000", "255"}, 100, 5000, 255, {}},
        {{"99", "-1", "0"}, 400, 400, 1, {true, true, true}},
        {{"5001", "400ms", "248"}, 400, 400, 1, {true, true, true}},
        {{"4294967696", "1e3", "1.5"}, 400, 400, 1, {true, true, true}},
        {{"800", "70000", "257"}, 800, 800, 1, {false, true, true}},
    };
    const char* const places[3][2] = {
        {"DAQ", "TIMEOUT_MS"}, {"SENSOR", "ID2TIMEOUT_MS"}, {"SENSOR", "ID2UNIT"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.values[0] ? c.values[0] : "none");
        QTemporaryDir dir;
        INIFILE config(ConfigPath(dir.path()));
        QStringList expected;
        for (int k = 0; k < 3; ++k) {
            if (c.values[k]) {
                ASSERT_TRUE(config.WriteString(places[k][0], places[k][1], c.values[k]));
            }
            if (c.refused[k])
                expected << QStringLiteral("Config.ini [%1] %2=%3 无效")
                                .arg(places[k][0], places[k][1], QString(c.values[k]).trimmed());
        }
        QStringList problems;
        const StationConfig loaded = LoadStationConfig(config, &problems);
        const SensorEndpoint one = LinkedEndpoint(loaded.links, 1, 0, 502);
        const SensorEndpoint two = LinkedEndpoint(loaded.links, 2, 0, 502);
        EXPECT_EQ(one.answerLimitMs, c.limit1);
        EXPECT_EQ(one.unitId, 1);
        EXPECT_EQ(two.answerLimitMs, c.limit2);
        EXPECT_EQ(two.unitId, c.unit2);
        ASSERT_EQ(problems.size(), expected.size());
        for (qsizetype i = 0; i < expected.size(); ++i)
            EXPECT_TRUE(problems[i].startsWith(expected[i]))
                << problems[i].toStdString();
    }
}

}  // namespace
}  // namespace orsan
