#include <gtest/gtest.h>

#include "Freshness.h"

namespace orsan {
namespace {

TEST(FreshnessTest, LimitIsTwoIntervalsButNeverUnderTwoSeconds) {
    EXPECT_EQ(FreshnessLimitMs(0.3), 2000);
    EXPECT_EQ(FreshnessLimitMs(1.0), 2000);
    EXPECT_EQ(FreshnessLimitMs(1.5), 3000);
    EXPECT_EQ(FreshnessLimitMs(1800), 3600000);
    EXPECT_EQ(FreshnessLimitMs(-1), 2000);
}

TEST(FreshnessTest, OnlyAnAcceptedRecentUnpausedReadingIsFresh) {
    struct Case {
        const char* name;
        bool commOk;
        bool paused;
        int64_t readAt;
        bool fresh;
        int answerLimitMs = kDefaultAnswerLimitMs;
    };
    const int64_t now = 100000;
    const Case cases[] = {
        {"just read", true, false, now - 300, true},
        {"exactly at the limit", true, false, now - 2000, true},
        {"older than the limit", true, false, now - 2001, false},
        {"last visit failed", false, false, now - 300, false},
        {"polling paused", true, true, now - 300, false},
        {"never read", true, false, 0, false},
        // A sensor given 1000 ms per answer may take 3.71 s between readings.
        {"slow sensor within its longest gap", true, false, now - 3710, true, 1000},
        {"slow sensor past its longest gap", true, false, now - 3711, false, 1000},
    };
    for (const Case& c : cases) {
        SensorStatus status;
        status.record.CommOk = c.commOk;
        status.paused = c.paused;
        status.lastGoodReadSteadyMs = c.readAt;
        status.answerLimitMs = c.answerLimitMs;
        EXPECT_EQ(IsFreshReading(status, now, 2000), c.fresh) << c.name;
    }
}

}  // namespace
}  // namespace orsan
