#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>
#include <vector>

#include "RecordDatabase.h"
#include "RecordPageText.h"
#include "RecordPager.h"
#include "RecordRange.h"
#include "RecordTestSupport.h"
#include "SensorRangeReader.h"

namespace orsan {
namespace {

using test::FillRows;
using test::PatternRow;
using test::RawExec;
using test::WithRawConnection;

// Local times are 8 h east of UTC (see core_main.cpp).
constexpr qint64 k091005 = 1796605805;    // 2026-12-07 09:10:05
constexpr qint64 k235959 = 1796659199;    // 2026-12-07 23:59:59
constexpr qint64 kMidnight = 1796659200;  // 2026-12-08 00:00:00

constexpr qint64 Ms(qint64 seconds, qint64 milliseconds) {
    return seconds * 1000 + milliseconds;
}

struct RowTime {
    qint64 time;
    int milliseconds;
};

// Written in this order: two rows of 09:10:05 with the later one first, and
// two rows either side of midnight.
const std::vector<RowTime> kRows = {{k091005, 414}, {k091005, 0},   {k091005 + 1, 999},
                                    {k235959, 999}, {kMidnight, 0}, {kMidnight + 3600, 500}};

// The rows of a range in the order every reader gives them: by Time, rows of
// one second in write order.
std::vector<qint64> ExpectedIn(const RecordRange& range) {
    std::vector<std::pair<qint64, size_t>> found;
    for (size_t i = 0; i < kRows.size(); ++i) {
        const qint64 ms = Ms(kRows[i].time, kRows[i].milliseconds);
        if (range.Contains(ms)) found.push_back({kRows[i].time, i});
    }
    std::sort(found.begin(), found.end());
    std::vector<qint64> times;
    for (const auto& [time, i] : found) times.push_back(Ms(time, kRows[i].milliseconds));
    return times;
}

std::vector<qint64> PageTimes(const RecordPager& pager) {
    std::vector<qint64> times;
    for (const StoredRecord& r : pager.Page().rows) times.push_back(Ms(r.time, r.milliseconds));
    return times;
}

class RecordRangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(db_.Open(dir_.path()));
    }

    QTemporaryDir dir_;
    RecordDatabase db_;
};

TEST_F(RecordRangeTest, EveryReaderAgreesOnTheEdges) {
    for (size_t i = 0; i < kRows.size(); ++i)
        ASSERT_TRUE(db_.Insert(
            PatternRow(int32_t(kRows[i].time), uint16_t(kRows[i].milliseconds), int(i))));
    const struct {
        const char* name;
        RecordRange range;
        size_t expected;
    } cases[] = {
        {"from after to", RecordRange::Between(Ms(k091005, 500), Ms(k091005, 499)), 0},
        {"between rows", RecordRange::Between(Ms(k091005 + 2, 0), Ms(k235959, 998)), 0},
        {"one row, both ends on it", RecordRange::Between(Ms(k091005, 414), Ms(k091005, 414)), 1},
        {"to on a whole second leaves out .414", RecordRange::Between(0, Ms(k091005, 0)), 1},
        {"from one ms after .000", RecordRange::Between(Ms(k091005, 1), Ms(k091005, 999)), 1},
        {"one second, both rows", RecordRange::Between(Ms(k091005, 0), Ms(k091005, 999)), 2},
        {"across midnight", RecordRange::Between(Ms(k235959, 500), Ms(kMidnight, 500)), 2},
        {"all", RecordRange::All(), kRows.size()},
    };
    RecordPager pager(db_, kRecordsPerPage);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<qint64> expected = ExpectedIn(c.range);
        ASSERT_EQ(expected.size(), c.expected);  // the table above is what it claims

        EXPECT_EQ(pager.CountRange(c.range), qint64(c.expected));
        ASSERT_TRUE(pager.SetRange(c.range));
        EXPECT_EQ(PageTimes(pager), expected);

        SensorRangeReader reader(db_, 3, c.range);
        std::vector<qint64> streamed;
        while (reader.Next()) streamed.push_back(reader.TimeMs());
        EXPECT_TRUE(reader.Error().isEmpty()) << reader.Error().toStdString();
        EXPECT_EQ(streamed, expected);
    }
}

TEST_F(RecordRangeTest, ReaderGivesOneSensorsValuesInCurveOrder) {
    ASSERT_TRUE(db_.Insert(PatternRow(int32_t(k091005), 7, 4)));
    const RecordRow row = PatternRow(int32_t(k091005), 7, 4);
    for (int sensor = 1; sensor <= kRecordSlots; ++sensor) {
        SCOPED_TRACE(sensor);
        SensorRangeReader reader(db_, sensor, RecordRange::All());
        ASSERT_TRUE(reader.Next());
        const SensorSample& sample = row.sensors[size_t(sensor - 1)];
        for (int k = 0; k < SensorRangeReader::kValues; ++k) {
            const int index = SlotValueIndexOfCurve(k);
            EXPECT_FLOAT_EQ(float(reader.Value(k)),
                            FormatRecordValue(index, sample.Value(k)).toFloat())
                << "curve " << k;
        }
        EXPECT_FALSE(reader.Next());
    }
    SensorRangeReader bad(db_, 7, RecordRange::All());
    EXPECT_FALSE(bad.Next());
    EXPECT_FALSE(bad.Error().isEmpty());
}

// Rows of the table at positions [offset, offset + limit) of the range by
// OFFSET through a connection of its own: slow, obviously right.
std::vector<qint64> OraclePage(const QString& path, const RecordRange& range, qint64 offset,
                               qint64 limit) {
    std::vector<qint64> times;
    WithRawConnection(path, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        query.prepare(
            QStringLiteral("SELECT Time*1000+msTime FROM data WHERE Time*1000+msTime "
                           "BETWEEN ? AND ? ORDER BY Time, rowid LIMIT ? OFFSET ?"));
        query.addBindValue(range.fromMs);
        query.addBindValue(range.toMs);
        query.addBindValue(limit);
        query.addBindValue(offset);
        if (query.exec())
            while (query.next()) times.push_back(query.value(0).toLongLong());
    });
    return times;
}

class RecordPagingTest : public ::testing::TestWithParam<qint64> {};

TEST_P(RecordPagingTest, EveryMoveMatchesTheOffsetOracle) {
    const qint64 n = GetParam();
    constexpr qint64 kFirst = Ms(k091005, 0);
    constexpr qint64 kStep = 300;
    QTemporaryDir dir;
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    ASSERT_TRUE(FillRows(db, n, kFirst, kStep));
    const QString path = db.FilePath();
    constexpr qint64 kPage = kRecordsPerPage;
    const qint64 lastStart = n == 0 ? 0 : kPage * ((n - 1) / kPage);
    const auto rowTime = [&](qint64 k) { return kFirst + k * kStep; };

    RecordPager pager(db, kPage);
    const RecordRange all = RecordRange::All();
    ASSERT_TRUE(pager.SetRange(all));
    EXPECT_EQ(pager.Page().count, n);
    EXPECT_EQ(pager.PageCount(), (n + kPage - 1) / kPage);
    EXPECT_EQ(pager.PageNumber(), n == 0 ? 0 : 1);
    EXPECT_EQ(PageTimes(pager), OraclePage(path, all, 0, kPage));

    ASSERT_TRUE(pager.Next());
    const qint64 second = n > kPage ? kPage : 0;
    EXPECT_EQ(pager.Page().startIndex, second);
    EXPECT_EQ(PageTimes(pager), OraclePage(path, all, second, kPage));

    ASSERT_TRUE(pager.Last());
    EXPECT_EQ(pager.Page().startIndex, lastStart);
    EXPECT_EQ(PageTimes(pager), OraclePage(path, all, lastStart, kPage));
    EXPECT_EQ(pager.PageNumber(), pager.PageCount());
    ASSERT_TRUE(pager.Next());  // stays
    EXPECT_EQ(pager.Page().startIndex, lastStart);

    ASSERT_TRUE(pager.Previous());
    const qint64 beforeLast = std::max<qint64>(0, lastStart - kPage);
    EXPECT_EQ(pager.Page().startIndex, beforeLast);
    EXPECT_EQ(PageTimes(pager), OraclePage(path, all, beforeLast, kPage));

    if (n == 0) return;
    // "Go to" a row's own time, and to just after it: the page holding it
    // (or the next row), the page aligned as paging from the first would.
    for (const qint64 k : {qint64(0), n / 2, n - 1}) {
        for (const qint64 past : {qint64(0), qint64(1)}) {
            SCOPED_TRACE(testing::Message() << "row " << k << " +" << past << " ms");
            ASSERT_TRUE(pager.GoTo(rowTime(k) + past));
            const qint64 target = std::min(k + past, n - 1);
            const qint64 start = kPage * (target / kPage);
            EXPECT_EQ(pager.Page().startIndex, start);
            EXPECT_EQ(PageTimes(pager), OraclePage(path, all, start, kPage));
        }
    }

    // A range inside the table: its own count, positions counted from its start.
    const RecordRange inner = RecordRange::Between(rowTime(n / 3), rowTime(n / 3 + n / 2));
    ASSERT_TRUE(pager.SetRange(inner));
    EXPECT_EQ(pager.Page().count, n / 2 + 1);
    EXPECT_EQ(PageTimes(pager), OraclePage(path, inner, 0, kPage));
    ASSERT_TRUE(pager.Last());
    const qint64 innerLast = kPage * (n / 2 / kPage);
    EXPECT_EQ(PageTimes(pager), OraclePage(path, inner, innerLast, kPage));
    // Go to, counted from the range's own start (mid-second, between rows).
    const qint64 target = n / 4;
    ASSERT_TRUE(pager.GoTo(rowTime(n / 3 + target) - 1));
    EXPECT_EQ(pager.Page().startIndex, kPage * (target / kPage));
    EXPECT_EQ(PageTimes(pager), OraclePage(path, inner, kPage * (target / kPage), kPage));
}

INSTANTIATE_TEST_SUITE_P(RowCounts, RecordPagingTest,
                         ::testing::Values(qint64(0), qint64(22), qint64(23), qint64(1000000)));

TEST_F(RecordRangeTest, RowsOfOneSecondPageInWriteOrder) {
    test::WriteThreeRows(db_);  // .999 of the second before, then .007 and .003 written so
    RecordPager pager(db_, 2);
    ASSERT_TRUE(pager.SetRange(RecordRange::All()));
    ASSERT_TRUE(pager.Next());
    ASSERT_EQ(pager.Page().rows.size(), 1u);
    EXPECT_EQ(pager.Page().rows[0].milliseconds, 3);
    ASSERT_TRUE(pager.Previous());
    ASSERT_EQ(pager.Page().rows.size(), 2u);
    EXPECT_EQ(pager.Page().rows[0].milliseconds, 999);
    EXPECT_EQ(pager.Page().rows[1].milliseconds, 7);
    // Going to .005 finds the first row from .005 on in that order: .007.
    ASSERT_TRUE(pager.GoTo(Ms(1714523415, 5)));
    EXPECT_EQ(pager.Page().startIndex, 0);
}

// Rows either side of ten-minute and day edges (also before 1970), written
// through the station and by other connections, some deleted by them: the
// kept counts give what count(*) gives, after a clear, and in a file of an
// older station without them (filled once when opened to write; counted from
// the rows when opened to read).
TEST(RecordTallyTest, KeptCountsAgreeWithCountingTheRows) {
    const std::vector<qint64> seconds = {
        -86401, -601, -600, -1, 0, 599, 600, 86399, 86400, 1700000000, 1700000000 + 3 * 86400 + 17};
    std::vector<qint64> edges;
    for (const qint64 s : seconds)
        for (const qint64 ms : {-1, 0, 500, 1000}) edges.push_back(Ms(s, ms));
    QTemporaryDir dir;
    const QString path = RecordDatabase::PathIn(dir.path());
    const auto expectCountsAgree = [&](RecordDatabase& db, const char* stage) {
        SCOPED_TRACE(stage);
        EXPECT_EQ(db.Count(), test::RawRowCount(path));
        RecordPager pager(db, kRecordsPerPage);
        WithRawConnection(path, [&](QSqlDatabase& raw) {
            QSqlQuery query(raw);
            query.prepare("SELECT count(*) FROM data WHERE Time*1000+msTime BETWEEN ? AND ?");
            for (const qint64 from : edges)
                for (const qint64 to : edges) {
                    if (to < from) continue;
                    query.addBindValue(from);
                    query.addBindValue(to);
                    ASSERT_TRUE(query.exec() && query.next());
                    ASSERT_EQ(pager.CountRange(RecordRange::Between(from, to)),
                              query.value(0).toLongLong())
                        << from << " .. " << to;
                }
        });
    };
    {
        RecordDatabase db;
        ASSERT_TRUE(db.Open(dir.path()));
        ASSERT_TRUE(db.HasTallies());
        int seed = 0;
        for (const qint64 s : seconds)
            for (const uint16_t ms : {uint16_t(500), uint16_t(0), uint16_t(999)})
                ASSERT_TRUE(db.Insert(PatternRow(int32_t(s), ms, seed++)));
        RawExec(path, "INSERT INTO data SELECT * FROM data WHERE Time BETWEEN 0 AND 86400");
        RawExec(path, "DELETE FROM data WHERE msTime = 999 AND Time IN (-600, 599, 86400)");
        expectCountsAgree(db, "written and deleted");
        ASSERT_TRUE(db.ClearAll());
        expectCountsAgree(db, "cleared");
        ASSERT_TRUE(db.Insert(PatternRow(600, 1, 0)));
        ASSERT_TRUE(db.Insert(PatternRow(-1, 1, 0)));
        expectCountsAgree(db, "written after the clear");
    }
    for (const char* sql : {"DROP TRIGGER data_rows_insert", "DROP TRIGGER data_rows_delete",
                            "DROP TABLE data_rows", "DROP TABLE data_rows_10min",
                            "DROP TABLE data_rows_day", "INSERT INTO data SELECT * FROM data"})
        RawExec(path, sql);
    {
        RecordDatabase db;
        ASSERT_TRUE(db.Open(dir.path(), RecordDatabase::Mode::ExistingOnly));
        EXPECT_FALSE(db.HasTallies());
        expectCountsAgree(db, "older file, read only");
    }
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    EXPECT_TRUE(db.HasTallies());
    expectCountsAgree(db, "older file, filled when opened");
}

}  // namespace
}  // namespace orsan
