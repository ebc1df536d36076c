#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <vector>

#include "HistoryRowReader.h"
#include "RecordDatabase.h"
#include "RecordTestSupport.h"
#include "SensorRangeReader.h"

namespace orsan {
namespace {

using test::PatternRow;
using test::RawExec;
using test::WithRawConnection;

constexpr qint64 k091005 = 1796605805;  // 2026-12-07 09:10:05 local

constexpr qint64 Ms(qint64 seconds, qint64 milliseconds) {
    return seconds * 1000 + milliseconds;
}

// Every reader's freshness equals the Ok columns as written, whether it comes
// from the stale-row indexes or from the rows, in both orders, with a limit,
// at range edges, with rows of one second and a clock set back.
TEST(RecordFreshnessTest, FreshnessIsTheSameFromTheStaleIndexesAndFromTheRows) {
    QTemporaryDir dir;
    RecordDatabase written;
    ASSERT_TRUE(written.Open(dir.path()));
    qint64 time = k091005;
    for (int i = 0; i < 60; ++i) {
        time += (i % 7 == 3) ? -5 : (i % 3 == 0 ? 0 : 1);  // same seconds, a clock set back
        RecordRow row = PatternRow(int32_t(time), uint16_t((i * 137) % 1000), i);
        for (int s = 0; s < kRecordSlots; ++s) row.fresh[size_t(s)] = (i * (s + 2)) % (s + 3) != 0;
        ASSERT_TRUE(written.Insert(row));
    }
    // The oracle: the Ok columns through a connection of its own.
    const auto expected = [&](const RecordRange& range, RecordRowCursor::Order order, int limit) {
        std::vector<std::pair<qint64, unsigned>> rows;
        WithRawConnection(written.FilePath(), [&](QSqlDatabase& raw) {
            QSqlQuery query(raw);
            ASSERT_TRUE(query.exec(
                QStringLiteral("SELECT Time*1000+msTime,Ok1,Ok2,Ok3,Ok4,Ok5,Ok6 FROM data ORDER BY "
                               "Time %1, rowid %1")
                    .arg(order == RecordRowCursor::Order::Oldest ? "ASC" : "DESC")));
            while (query.next() && (limit == 0 || int(rows.size()) < limit)) {
                if (!range.Contains(query.value(0).toLongLong())) continue;
                unsigned fresh = 0;
                for (int s = 0; s < kRecordSlots; ++s)
                    fresh |= unsigned(query.value(1 + s).toInt() != 0) << s;
                rows.push_back({query.value(0).toLongLong(), fresh});
            }
        });
        return rows;
    };
    const std::vector<HistoryCurve> curves = {{5, 4}, {2, 0}, {5, 1}, {1, 9},
                                              {6, 3}, {3, 2}, {4, 4}};
    const auto read = [&](RecordDatabase& db, const RecordRange& range,
                          RecordRowCursor::Order order, int limit) {
        std::vector<std::pair<qint64, unsigned>> rows;
        HistoryRowReader reader(db, curves, range, order, limit);
        std::array<float, kCurveCount> values{};
        while (reader.Next()) {
            reader.Values(values);
            unsigned fresh = 0;
            for (size_t c = 0; c < curves.size(); ++c)
                if (!std::isnan(values[c])) fresh |= 1u << (curves[c].sensor - 1);
            rows.push_back({reader.TimeMs(), fresh});
        }
        EXPECT_TRUE(reader.Error().isEmpty()) << reader.Error().toStdString();
        // One sensor alone agrees too.
        SensorRangeReader one(db, 5, range, order, limit);
        for (const auto& [ms, fresh] : rows) {
            EXPECT_TRUE(one.Next());
            EXPECT_EQ(one.TimeMs(), ms);
            EXPECT_EQ(one.Fresh(), ((fresh >> 4) & 1u) != 0) << ms;
        }
        EXPECT_FALSE(one.Next());
        return rows;
    };
    const RecordRange ranges[] = {RecordRange::All(),
                                  RecordRange::Between(Ms(k091005 - 6, 500), Ms(k091005 - 2, 400))};
    const auto checkAll = [&](RecordDatabase& db, const char* how) {
        for (const RecordRange& range : ranges)
            for (const auto order :
                 {RecordRowCursor::Order::Oldest, RecordRowCursor::Order::Newest})
                for (const int limit : {0, 5}) {
                    SCOPED_TRACE(::testing::Message()
                                 << how << " from " << range.fromMs << " order " << int(order)
                                 << " limit " << limit);
                    const auto want = expected(range, order, limit);
                    ASSERT_FALSE(want.empty());
                    // Stale rows are in each case, or the case proves nothing.
                    ASSERT_TRUE(std::any_of(want.begin(), want.end(),
                                            [](const auto& r) { return r.second != 0x3fu; }));
                    EXPECT_EQ(read(db, range, order, limit), want);
                }
    };
    for (int slot = 1; slot <= kRecordSlots; ++slot) ASSERT_TRUE(written.HasStaleIndex(slot));
    checkAll(written, "stale indexes");

    // A file without them, opened for reading only, reads the Ok columns.
    written.Close();
    for (int slot = 1; slot <= kRecordSlots; slot += 2)
        RawExec(written.FilePath(), QStringLiteral("DROP INDEX ") + StaleIndexName(slot));
    // Another program's index of that name holds other rows: not used.
    RawExec(written.FilePath(), QStringLiteral("CREATE INDEX data_stale3 ON data(Time)"));
    RecordDatabase reading;
    ASSERT_TRUE(reading.Open(dir.path(), RecordDatabase::Mode::ExistingOnly));
    EXPECT_FALSE(reading.HasStaleIndex(1));
    EXPECT_TRUE(reading.HasStaleIndex(2));
    EXPECT_FALSE(reading.HasStaleIndex(3));
    checkAll(reading, "some indexes");
    reading.Close();
    // Opened for writing they are made again, unless the file is too big to
    // index at the start (its kept row count says so).
    const QString count = QStringLiteral("UPDATE data_rows SET n = n + %1");
    RawExec(written.FilePath(), count.arg(RecordDatabase::kStaleIndexBuildRows));
    ASSERT_TRUE(written.Open(dir.path()));
    EXPECT_FALSE(written.HasStaleIndex(1));
    checkAll(written, "too big to index");
    written.Close();
    RawExec(written.FilePath(), count.arg(-RecordDatabase::kStaleIndexBuildRows));
    RawExec(written.FilePath(), QStringLiteral("DROP INDEX data_stale3"));
    ASSERT_TRUE(written.Open(dir.path()));
    for (int slot = 1; slot <= kRecordSlots; ++slot) EXPECT_TRUE(written.HasStaleIndex(slot));
}

}  // namespace
}  // namespace orsan
