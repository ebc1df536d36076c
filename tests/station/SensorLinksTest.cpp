#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "StationConfig.h"

namespace orsan {
namespace {

// Each case writes a few keys into an empty Config.ini; every sensor not
// named keeps unit 1 and the common limit.
TEST(SensorLinksTest, LimitsAndUnitsAreWholeNumbersInRangeOrRefusedWithTheirDefault) {
    struct Case {
        std::vector<std::array<const char*, 3>> keys;  // section, key, value
        int common;                                    // every sensor's limit but sensor 2's
        int limit2;
        int unit2;
        QStringList refused;  // "[section] key=value" of each message
    };
    const Case cases[] = {
        {{}, 400, 400, 1, {}},
        {{{"DAQ", "TIMEOUT_MS", " 1000 "}}, 1000, 1000, 1, {}},
        {{{"DAQ", "TIMEOUT_MS", "1000"}, {"SENSOR", "ID2TIMEOUT_MS", "450"}}, 1000, 450, 1, {}},
        {{{"DAQ", "TIMEOUT_MS", "100"}, {"SENSOR", "ID2TIMEOUT_MS", "5000"}}, 100, 5000, 1, {}},
        {{{"DAQ", "TIMEOUT_MS", "99"}}, 400, 400, 1, {"[DAQ] TIMEOUT_MS=99"}},
        {{{"DAQ", "TIMEOUT_MS", "5001"}}, 400, 400, 1, {"[DAQ] TIMEOUT_MS=5001"}},
        {{{"DAQ", "TIMEOUT_MS", "400ms"}}, 400, 400, 1, {"[DAQ] TIMEOUT_MS=400ms"}},
        {{{"DAQ", "TIMEOUT_MS", "4294967696"}}, 400, 400, 1, {"[DAQ] TIMEOUT_MS=4294967696"}},
        {{{"DAQ", "TIMEOUT_MS", "800"}, {"SENSOR", "ID2TIMEOUT_MS", "-1"}},
         800,
         800,
         1,
         {"[SENSOR] ID2TIMEOUT_MS=-1"}},
        {{{"SENSOR", "ID2UNIT", "247"}}, 400, 400, 247, {}},
        {{{"SENSOR", "ID2UNIT", "255"}}, 400, 400, 255, {}},
        {{{"SENSOR", "ID2UNIT", "0"}}, 400, 400, 1, {"[SENSOR] ID2UNIT=0"}},
        {{{"SENSOR", "ID2UNIT", "248"}}, 400, 400, 1, {"[SENSOR] ID2UNIT=248"}},
        {{{"SENSOR", "ID2UNIT", "257"}}, 400, 400, 1, {"[SENSOR] ID2UNIT=257"}},
        {{{"SENSOR", "ID2UNIT", "1.5"}}, 400, 400, 1, {"[SENSOR] ID2UNIT=1.5"}},
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        INIFILE config(ConfigPath(dir.path()));
        QString trace;
        for (const auto& [section, key, value] : c.keys) {
            ASSERT_TRUE(config.WriteString(section, key, value));
            trace += QStringLiteral("%1=%2 ").arg(key, value);
        }
        SCOPED_TRACE(trace.toStdString());
        const StationConfig loaded = LoadStationConfig(config);
        for (int n = 1; n <= kSensorCount; ++n) {
            const SensorEndpoint e =
                LinkedEndpoint(loaded.links, n, MakeAddress(127, 0, 0, 9), 502);
            EXPECT_EQ(e.answerLimitMs, n == 2 ? c.limit2 : c.common) << n;
            EXPECT_EQ(e.unitId, n == 2 ? c.unit2 : 1) << n;
        }
        ASSERT_EQ(loaded.problems.size(), c.refused.size());
        for (qsizetype i = 0; i < c.refused.size(); ++i)
            EXPECT_TRUE(loaded.problems[i].startsWith(QStringLiteral("Config.ini ") + c.refused[i] +
                                                      QStringLiteral(" 无效")))
                << loaded.problems[i].toStdString();
    }
}

}  // namespace
}  // namespace orsan
