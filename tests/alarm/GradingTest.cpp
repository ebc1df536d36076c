#include <gtest/gtest.h>

#include "AlarmSettings.h"
#include "SeverityZones.h"

namespace orsan {
namespace {

// A velocity as the station holds it: the register value (0.01 mm/s) decoded
// to a 32-bit float.
float Reading(int raw) {
    return float(raw * 0.01);
}

struct ClassCase {
    const char* machineClass;
    int ab, bc, cd;  // boundaries in register units
};

constexpr ClassCase kClasses[] = {
    {"1R", 230, 450, 710},
    {"1F", 350, 710, 1100},
    {"2R", 140, 280, 450},
    {"2F", 230, 450, 710},
};

TEST(Grading, EveryClassGradesItsBoundariesAsTheTopOfTheZoneBelow) {
    for (const ClassCase& c : kClasses) {
        SCOPED_TRACE(c.machineClass);
        const auto boundaries = BoundariesOfClass(QLatin1String(c.machineClass));
        ASSERT_TRUE(boundaries.has_value());
        const ZoneThresholds t(*boundaries);
        const struct {
            int raw;
            Zone zone;
        } rows[] = {
            {0, Zone::A},        {c.ab - 1, Zone::A}, {c.ab, Zone::A},
            {c.ab + 1, Zone::B}, {c.bc, Zone::B},     {c.bc + 1, Zone::C},
            {c.cd, Zone::C},     {c.cd + 1, Zone::D}, {65535, Zone::D},
        };
        for (const auto& row : rows)
            EXPECT_EQ(GradeVelocity(Reading(row.raw), t), row.zone) << "raw " << row.raw;
    }
}

TEST(Grading, ClassNamesIgnoreCaseAndUnknownNamesAreNoClass) {
    EXPECT_EQ(BoundariesOfClass(" 1f "), (ZoneBoundaries{3.5, 7.1, 11.0}));
    for (const char* bad : {"", "3R", "1", "R", "2RR"})
        EXPECT_FALSE(BoundariesOfClass(QLatin1String(bad)).has_value()) << bad;
}

}  // namespace
}  // namespace orsan
