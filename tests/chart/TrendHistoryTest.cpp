#include <gtest/gtest.h>

#include <vector>

#include "TrendHistory.h"

namespace orsan {
namespace {

SensorSample Numbered(int i) {
    SensorSample s;
    s.time = 1000 + i;
    s.milliseconds = static_cast<uint16_t>(i % 1000);
    s.T_Shell = static_cast<float>(i);
    s.Disp_Z = static_cast<float>(-i);
    return s;
}

TEST(TrendHistory, KeepsOrderUntilFullThenDropsTheOldest) {
    TrendHistory history;
    std::vector<SensorSample> copy(TrendHistory::kCapacity);
    EXPECT_EQ(history.CopyTo(copy.data()), 0);

    for (int i = 0; i < TrendHistory::kCapacity; ++i) history.Append(Numbered(i));
    ASSERT_TRUE(history.IsFull());
    EXPECT_EQ(history.At(0).T_Shell, 0.0f);
    EXPECT_EQ(history.At(1799).T_Shell, 1799.0f);

    // The 1801st sample drops the first; the count stays 1800.
    history.Append(Numbered(1800));
    EXPECT_EQ(history.Count(), 1800);
    EXPECT_EQ(history.At(0).time, Numbered(1).time);
    EXPECT_EQ(history.At(1799).time, Numbered(1800).time);

    // Many wraps later the copy is still oldest first and whole.
    for (int i = 1801; i < 5000; ++i) history.Append(Numbered(i));
    ASSERT_EQ(history.CopyTo(copy.data()), 1800);
    for (int i = 0; i < 1800; ++i) {
        ASSERT_EQ(copy[i].T_Shell, static_cast<float>(3200 + i)) << i;
        ASSERT_EQ(copy[i].Disp_Z, static_cast<float>(-(3200 + i))) << i;
        ASSERT_EQ(copy[i].milliseconds, (3200 + i) % 1000) << i;
    }
}

// The measured mark travels with its sample through the ring's wrap-around.
TEST(TrendHistory, MeasuredMarkStaysWithItsSample) {
    TrendHistory history;
    const auto measured = [](int i) { return i % 7 != 3; };
    for (int i = 0; i < TrendHistory::kCapacity + 250; ++i)
        history.Append(Numbered(i), measured(i));
    for (int i = 0; i < history.Count(); ++i) {
        const int n = static_cast<int>(history.At(i).T_Shell);
        ASSERT_EQ(history.IsMeasured(i), measured(n)) << "sample " << n;
    }
}

TEST(TrendHistory, ClearStartsOverAtTheFront) {
    TrendHistory history;
    for (int i = 0; i < 1900; ++i) history.Append(Numbered(i));
    history.Clear();
    EXPECT_EQ(history.Count(), 0);
    history.Append(Numbered(7));
    history.Append(Numbered(8));
    SensorSample copy[TrendHistory::kCapacity];
    ASSERT_EQ(history.CopyTo(copy), 2);
    EXPECT_EQ(copy[0].T_Shell, 7.0f);
    EXPECT_EQ(copy[1].T_Shell, 8.0f);
}

TEST(TrendHistory, TimePositionAddsMilliseconds) {
    SensorSample s;
    s.time = 100;
    s.milliseconds = 250;
    EXPECT_DOUBLE_EQ(SampleTimePosition(s), 100.25);
}

}  // namespace
}  // namespace orsan
