#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <vector>

#include "RecordDatabase.h"
#include "RecordTestSupport.h"
#include "RecordWriter.h"

namespace orsan {
namespace {

using test::PatternRow;
using test::RawRowCount;

class RecordWriterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(database_.Open(dir_.path())); }

    // Reload decisions of `writes` timer ticks while recording.
    std::vector<bool> Reloads(RecordWriter& writer, int writes) {
        std::vector<bool> reloads;
        for (int i = 0; i < writes; ++i)
            reloads.push_back(writer.Write(PatternRow(100 + i, 0, i)).reload);
        return reloads;
    }

    QTemporaryDir dir_;
    RecordDatabase database_;
};

TEST_F(RecordWriterTest, WritesNothingWhileRecordingIsOff) {
    RecordWriter writer(database_);
    const RecordWriter::Outcome outcome = writer.Write(PatternRow(1, 0, 0));
    EXPECT_FALSE(outcome.attempted);
    EXPECT_FALSE(outcome.written);
    EXPECT_FALSE(outcome.reload);
    EXPECT_EQ(writer.WriteCount(), 0u);
    EXPECT_EQ(RawRowCount(database_.FilePath()), 0);

    writer.SetRecording(true);
    EXPECT_TRUE(writer.Write(PatternRow(2, 0, 0)).written);
    writer.SetRecording(false);
    writer.Write(PatternRow(3, 0, 0));
    EXPECT_EQ(writer.WriteCount(), 1u);
    EXPECT_EQ(RawRowCount(database_.FilePath()), 1);
}

TEST_F(RecordWriterTest, ReloadsAfterEveryWriteAtSlowIntervalsAndEveryThirdWhenFast) {
    struct Case {
        int fastInterval;
        std::vector<bool> reloads;
    };
    const Case cases[] = {
        {0, {true, true, true, true, true, true, true}},
        {1, {false, false, true, false, false, true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fastInterval);
        RecordWriter writer(database_);
        writer.SetFastInterval(c.fastInterval);
        writer.SetRecording(true);
        EXPECT_EQ(Reloads(writer, 7), c.reloads);
        EXPECT_EQ(writer.WriteCount(), 7u);
    }
}

// The count of attempts goes on across a switch of interval and across
// failed writes, so every third attempt reloads whatever happened between.
TEST_F(RecordWriterTest, FailedWritesCountAndStillFollowTheReloadRule) {
    RecordWriter writer(database_);
    writer.SetRecording(true);
    writer.SetFastInterval(0);
    EXPECT_EQ(Reloads(writer, 1), std::vector<bool>{true});
    writer.SetFastInterval(1);
    database_.Close();  // every write now fails
    ::testing::internal::CaptureStderr();
    std::vector<bool> reloads;
    std::vector<bool> written;
    for (int i = 0; i < 3; ++i) {
        const RecordWriter::Outcome outcome = writer.Write(PatternRow(500 + i, 0, i));
        reloads.push_back(outcome.reload);
        written.push_back(outcome.written);
    }
    const std::string diagnostic = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(reloads, (std::vector<bool>{false, true, false}));
    EXPECT_EQ(written, (std::vector<bool>{false, false, false}));
    EXPECT_EQ(writer.WriteCount(), 4u);
    EXPECT_TRUE(writer.IsRecording());
    EXPECT_NE(diagnostic.find("Data  : 记录数据出错-> "), std::string::npos);
}

TEST(RecordRowTest, BuildsSlotsFromLiveRowsWithOneClockReading) {
    LiveValues values{};
    for (int r = 0; r < kSensorCount; ++r)
        for (int s = 0; s < kLiveSlots; ++s) values[size_t(r)][size_t(s)] = float(r * 100 + s);

    // 12:00:00.999 must not turn into the next second.
    const qint64 instant = qint64(1714536000) * 1000 + 999;
    const RecordRow row = BuildRecordRowAt(instant, values);
    EXPECT_EQ(row.time, 1714536000);
    EXPECT_EQ(row.milliseconds, 999);
    for (int r = 0; r < kSensorCount; ++r) {
        const SensorSample& s = row.sensors[size_t(r)];
        EXPECT_EQ(s.time, row.time);
        EXPECT_EQ(s.milliseconds, row.milliseconds);
        EXPECT_EQ(s.T_Shell, float(r * 100 + kSlotTShell));
        EXPECT_EQ(s.Acc_X, float(r * 100 + kSlotAccX));
        EXPECT_EQ(s.Vel_Y, float(r * 100 + kSlotVelY));
        EXPECT_EQ(s.Disp_Z, float(r * 100 + kSlotDispZ));
    }
    const RecordRow before1970 = BuildRecordRowAt(-1, values);
    EXPECT_EQ(before1970.time, -1);
    EXPECT_EQ(before1970.milliseconds, 999);
}

}  // namespace
}  // namespace orsan
