#pragma once

#include <gtest/gtest.h>

#include "FakeModbusPeer.h"

namespace orsan::test {

// Every test checks that the descriptors it opened are all closed again.
class LeakCheckedTest : public ::testing::Test {
protected:
    void SetUp() override { fdsBefore_ = OpenDescriptorCount(); }
    void TearDown() override {
        EXPECT_EQ(OpenDescriptorCount(), fdsBefore_) << "a descriptor leaked";
    }
    int fdsBefore_ = 0;
};

}  // namespace orsan::test
