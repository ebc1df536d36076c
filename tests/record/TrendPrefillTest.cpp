#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "RecordDatabase.h"
#include "RecordTestSupport.h"
#include "TrendChart.h"
#include "TrendPrefill.h"

namespace orsan {
namespace {

using test::PatternRow;

constexpr int32_t kNow = 1714523415;

// The panel of sensor 4 after a restart: rows older than 1800 periods are
// left out, a stale reading stays a gap with its values missing, and the
// rows after the station was off start a new curve.
TEST(TrendPrefillTest, ShowsOnlyFreshRecordedRowsWithGapsWhereTheStationWasOff) {
    QTemporaryDir dir;
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    struct Row {
        int32_t ago;  // seconds before now
        bool fresh;
    };
    const Row rows[] = {{1900, true}, {100, true}, {99, true}, {98, false}, {97, true},
                        {30, true},   {29, true},  {28, true}};
    int seed = 0;
    for (const Row& r : rows) {
        RecordRow row = PatternRow(kNow - r.ago, 250, ++seed);
        row.fresh[3] = r.fresh;
        row.fresh[0] = !r.fresh;  // another slot's freshness must not count
        ASSERT_TRUE(db.Insert(row));
    }

    QString error;
    const auto points = ReadRecordedTrend(db, 4, qint64(kNow) * 1000, 1000, &error);
    ASSERT_TRUE(points) << error.toStdString();
    ASSERT_EQ(points->size(), 7u) << "the row 1900 s ago is beyond 1800 periods of 1 s";

    TrendChart chart;
    chart.SetClock([] { return int64_t(kNow); });
    chart.SetGapSeconds(4);
    chart.CreateImage(816, 297);
    chart.Prefill(*points);
    const TrendHistory& history = chart.History();
    ASSERT_EQ(history.Count(), 7);
    for (int i = 0; i < history.Count(); ++i) {
        const Row& r = rows[i + 1];
        const SensorSample& sample = history.At(i);
        EXPECT_EQ(sample.time, kNow - r.ago) << i;
        EXPECT_EQ(sample.milliseconds, 250) << i;
        EXPECT_EQ(history.IsMeasured(i), r.fresh) << i;
        EXPECT_EQ(std::isnan(sample.Vel_X), !r.fresh) << i;
        EXPECT_EQ(history.IsAfterGap(i), i == 4) << i;
    }
    EXPECT_FLOAT_EQ(history.At(0).T_Shell, PatternRow(0, 0, 2).sensors[3].T_Shell);

    // Nothing recorded in the window: the trend starts empty, as before.
    const auto none = ReadRecordedTrend(db, 4, qint64(kNow + 7200) * 1000, 1000, &error);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->empty());
}

}  // namespace
}  // namespace orsan
