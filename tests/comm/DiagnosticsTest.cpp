#include <gtest/gtest.h>

#include "Diagnostics.h"

namespace orsan {
namespace {

TEST(Diagnostics, TraceSpecSwitchesOnOnlyTheAreasItNames) {
    struct Case {
        const char* spec;
        bool comm;
        bool wave;
    };
    const Case cases[] = {
        {"", false, false},        {"wave", false, true},     {"comm", true, false},
        {"comm,wave", true, true}, {"wave,comm", true, true}, {"all", true, true},
        {"waves", false, false},   {"wav", false, false},     {"Wave", false, false},
        {",wave,", false, true},   {"0", false, false},       {"x,all", true, true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TraceSpecEnables(c.spec, TraceArea::Comm), c.comm) << '"' << c.spec << '"';
        EXPECT_EQ(TraceSpecEnables(c.spec, TraceArea::Wave), c.wave) << '"' << c.spec << '"';
    }
}

}  // namespace
}  // namespace orsan
