#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "RecordDatabase.h"
#include "RecordTestSupport.h"
#include "TrendChart.h"
#include "TrendPrefill.h"

namespace orsan {
namespace {

// Sensor 4's trend after a restart: a row older than 1800 periods is left
// out, a stale reading stays a gap (its stored values kept, as live), and
// the rows after the station was off start a new curve.
TEST(TrendPrefillTest, ShowsOnlyFreshRecordedRowsWithGapsWhereTheStationWasOff) {
    constexpr int32_t kNow = 1714523415;
    QTemporaryDir dir;
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    const std::pair<int32_t, bool> rows[] = {{1900, true}, {100, true}, {99, true}, {98, false},
                                             {97, true},   {30, true},  {29, true}};  // ago, fresh
    for (const auto& [ago, fresh] : rows) {
        RecordRow row = test::PatternRow(kNow - ago, 250, ago);
        row.fresh[3] = fresh;
        row.fresh[0] = !fresh;  // another slot's freshness must not count
        ASSERT_TRUE(db.Insert(row));
    }
    QString error;
    const auto points = ReadRecordedTrend(db, 4, qint64(kNow) * 1000, 1000, &error);
    ASSERT_TRUE(points) << error.toStdString();
    TrendChart chart;
    chart.SetGapSeconds(4);
    chart.Prefill(*points);
    const TrendHistory& history = chart.History();
    ASSERT_EQ(history.Count(), 6);
    for (int i = 0; i < history.Count(); ++i) {
        const auto& [ago, fresh] = rows[i + 1];
        EXPECT_EQ(history.At(i).time, kNow - ago) << i;
        EXPECT_EQ(history.IsMeasured(i), fresh) << i;
        EXPECT_FLOAT_EQ(history.At(i).Vel_X, test::PatternRow(0, 0, ago).sensors[3].Vel_X) << i;
        EXPECT_EQ(history.IsAfterGap(i), i == 4) << i;
    }
}

}  // namespace
}  // namespace orsan
