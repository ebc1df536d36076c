#include <gtest/gtest.h>

#include <QDateTime>
#include <QTemporaryDir>

#include "HistoryChart.h"
#include "RecordDatabase.h"
#include "RecordHistorySource.h"
#include "RecordTestSupport.h"

namespace orsan {
namespace {

using test::RawExec;

constexpr qint64 kFirst = 1700006400 + 1234;  // not on an hour
constexpr qint64 kDay = 86400;
constexpr int kVelX = 4;  // curve index; column Xvel2 of sensor 2

// Five days of rows a minute apart, and in the tenth hour stale readings of
// sensor 2 far above the fresh ones, which no summary may hold.
class HistoryBandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db_.Open(dir_.path()));
        ASSERT_TRUE(test::FillRows(db_, 5 * 1440, kFirst * 1000, 60000));
        for (int i = 0; i < 5; ++i) {
            RecordRow row = test::PatternRow(int32_t(kFirst + 9 * 3600 + i), 500, i);
            row.fresh[1] = false;
            ASSERT_TRUE(db_.Insert(row));
        }
    }
    qint64 Raw(const QString& sql) { return RawExec(db_.FilePath(), sql).toLongLong(); }

    QTemporaryDir dir_;
    RecordDatabase db_;
};

// Up to two days the rows, beyond that the hourly summaries while an hour
// has two pixel columns, else the daily ones; what they hold is what the
// fresh rows of their spans give, and a zoom to two days reads rows again.
TEST_F(HistoryBandsTest, RangesOverTwoDaysDrawSummariesOfFreshReadingsAndZoomingInReadsRows) {
    const struct Case {
        qint64 seconds;
        int width;
        HistoryDetail detail;
    } cases[] = {{2 * kDay, 1100, HistoryDetail::Raw},
                 {2 * kDay + 1, 1100, HistoryDetail::Hourly},
                 {5 * kDay, 1100, HistoryDetail::Hourly},
                 {5 * kDay, 400, HistoryDetail::Daily}};
    RecordHistorySource source(db_);
    HistoryChart chart(source);
    chart.SetSelection(HistorySelection::Machine(2));
    for (const Case& c : cases) {
        SCOPED_TRACE(QStringLiteral("%1 s, %2 px").arg(c.seconds).arg(c.width).toStdString());
        chart.SetSize(c.width, 500);
        QString error;
        ASSERT_TRUE(chart.Show(double(kFirst), double(kFirst + c.seconds), &error))
            << error.toStdString();
        ASSERT_EQ(chart.Detail(), c.detail);
        if (c.detail == HistoryDetail::Raw) {
            EXPECT_EQ(chart.ShownReadings(),
                      Raw(QStringLiteral("SELECT count(*) FROM data WHERE Time BETWEEN %1 AND %2")
                              .arg(kFirst)
                              .arg(kFirst + c.seconds)));
            continue;
        }
        const qint64 span = qint64(DetailSpanSeconds(c.detail));
        // Hours from the hour, days from local midnight.
        const auto spanStart = [&](qint64 second) {
            return c.detail == HistoryDetail::Daily ? QDateTime::fromSecsSinceEpoch(second)
                                                          .date()
                                                          .startOfDay()
                                                          .toSecsSinceEpoch()
                                                    : second - second % span;
        };
        EXPECT_EQ(chart.ShownReadings(),
                  Raw(QStringLiteral("SELECT count(*) FROM data WHERE Ok2 AND Time >= %1 AND "
                                     "Time < %2")
                          .arg(spanStart(kFirst))
                          .arg(spanStart(kFirst + c.seconds) + span)));
        ASSERT_EQ(chart.Bands().curves.size(), size_t(kCurveCount));
        const std::vector<BandBin>& bins = chart.Bands().curves[kVelX].bins;
        ASSERT_FALSE(bins.empty());
        for (const size_t b : {size_t(0), std::min<size_t>(9, bins.size() - 1), bins.size() - 1}) {
            const QString where = QStringLiteral("FROM data WHERE Ok2 AND Time >= %1 AND Time < %2")
                                      .arg(qint64(bins[b].start))
                                      .arg(qint64(bins[b].start) + span);
            EXPECT_EQ(QString::asprintf("%.9f %.9f %.9f", bins[b].low, bins[b].mean, bins[b].high),
                      RawExec(db_.FilePath(),
                              "SELECT printf('%.9f %.9f %.9f', min(Xvel2), "
                              "avg(Xvel2), max(Xvel2)) " +
                                  where)
                          .toString());
        }
    }

    // The daily chart of five days: a fifth of it is a day, rows again.
    const EdgeRect plot = chart.Layout().plotRect;
    QString error;
    ASSERT_TRUE(chart.ZoomToPixels(plot.left, plot.left + plot.Width() / 5, &error));
    EXPECT_EQ(chart.Detail(), HistoryDetail::Raw);
    EXPECT_GT(chart.Reduction().RowCount(), 1000);
}

// A file without summaries, opened only to read, still shows a week: from its rows.
TEST_F(HistoryBandsTest, AFileWithoutSummariesShowsLongRangesFromItsRows) {
    db_.Close();
    RawExec(dir_.filePath(RecordDatabase::kFileName), "DROP TABLE data_daily");
    RecordDatabase readOnly;
    ASSERT_TRUE(readOnly.Open(dir_.path(), RecordDatabase::Mode::ExistingOnly));
    RecordHistorySource source(readOnly);
    HistoryChart chart(source);
    chart.SetSelection(HistorySelection::Machine(2));
    QString error;
    ASSERT_TRUE(chart.Show(double(kFirst), double(kFirst + 5 * kDay), &error));
    EXPECT_EQ(chart.Detail(), HistoryDetail::Raw);
    EXPECT_EQ(chart.ShownReadings(), 5 * 1440 + 5);
}

}  // namespace
}  // namespace orsan
