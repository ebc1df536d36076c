#include <gtest/gtest.h>

#include "SensorLink.h"

namespace orsan {
namespace {

TEST(SensorLink, FollowsThePollersStatus) {
    constexpr int64_t kRead = 1796636000123;
    struct Case {
        const char* name;
        bool commOk;
        int64_t lastGoodReadMs;
        bool polling;
        bool paused;
        LinkState state;
        bool hasValues;
    };
    const Case cases[] = {
        {"answering", true, kRead, true, false, LinkState::Ok, true},
        {"last visit failed", false, kRead, true, false, LinkState::Stale, true},
        {"never answered", false, 0, true, false, LinkState::Never, false},
        {"paused with values", true, kRead, true, true, LinkState::Paused, true},
        {"paused without values", false, 0, true, true, LinkState::Paused, false},
        {"pause flag of a stopped poller", true, kRead, false, true, LinkState::Ok, true},
    };
    for (const Case& c : cases) {
        SensorStatus status;
        status.record.CommOk = c.commOk;
        status.lastGoodReadMs = c.lastGoodReadMs;
        const SensorLink link = LinkOf(status, c.polling, c.paused);
        EXPECT_EQ(link.state, c.state) << c.name;
        EXPECT_EQ(link.lastGoodReadMs, c.lastGoodReadMs) << c.name;
        EXPECT_EQ(link.HasValues(), c.hasValues) << c.name;
    }
}

}  // namespace
}  // namespace orsan
