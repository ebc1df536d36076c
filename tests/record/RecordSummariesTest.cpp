#include <gtest/gtest.h>

#include <QSqlQuery>
#include <QStringList>
#include <QTemporaryDir>

#include "RecordColumns.h"
#include "RecordDatabase.h"
#include "RecordRetention.h"
#include "RecordSummaries.h"
#include "RecordTestSupport.h"

namespace orsan {
namespace {

using test::RawExec;

constexpr int32_t kDayEdge = 1699977600;  // 2023-11-15 00:00:00 local (UTC+8 in the tests)

// The summaries a GROUP BY over the raw rows gives (days from local
// midnight; the tests run eight hours east of UTC), sums rounded so that
// the order of additions does not matter; written here from the table's
// column names alone.
QString GroupBySql(qint64 width) {
    QStringList parts;
    for (int slot = 1; slot <= kRecordSlots; ++slot) {
        QStringList columns{QString::number(slot),
                            width == 86400
                                ? QStringLiteral("CAST(strftime('%s', Time, 'unixepoch', "
                                                 "'localtime', 'start of day', 'utc') AS INTEGER)")
                                : QStringLiteral("Time - ((Time % %1) + %1) % %1").arg(width),
                            QStringLiteral("count(*)")};
        QStringList present;
        for (const QString& name : SlotColumnNames(slot)) {
            columns << QStringLiteral("min(%1), round(sum(%1), 6), max(%1)").arg(name);
            present << name + QStringLiteral(" IS NOT NULL");
        }
        parts << QStringLiteral("SELECT %1 FROM data WHERE Ok%2 IS NOT 0 AND %3 GROUP BY 2")
                     .arg(columns.join(','))
                     .arg(slot)
                     .arg(present.join(QStringLiteral(" AND ")));
    }
    return QStringLiteral("SELECT * FROM (%1)").arg(parts.join(QStringLiteral(" UNION ALL ")));
}

QString KeptSql(SummaryGrain grain) {
    QStringList columns{QStringLiteral("sensor, start, n")};
    for (const QString& name : SlotColumnNames(1))
        columns << QStringLiteral("%1_min, round(%1_sum, 6), %1_max").arg(name.chopped(1));
    return QStringLiteral("SELECT %1 FROM %2").arg(columns.join(','), SummaryTableName(grain));
}

// Rows of either side missing from the other, per grain; and how many the
// summaries hold (so an empty pair cannot pass as equal). The GROUP BY is
// over the rows, or was kept earlier in tables <prefix>_hourly, _daily.
void ExpectSummariesEqualGroupBy(const QString& path, const char* when,
                                 const QString& keptGroupBy = QString()) {
    for (const SummaryGrain grain : {SummaryGrain::Hour, SummaryGrain::Day}) {
        const QString kept = KeptSql(grain);
        const QString reference =
            keptGroupBy.isEmpty() ? GroupBySql(SummarySpanSeconds(grain))
                                  : QStringLiteral("SELECT * FROM %1_%2")
                                        .arg(keptGroupBy, SummaryTableName(grain).section('_', 1));
        const qint64 differing =
            RawExec(path, QStringLiteral("SELECT (SELECT count(*) FROM (%1 EXCEPT %2)) + "
                                         "(SELECT count(*) FROM (%2 EXCEPT %1))")
                              .arg(kept, reference))
                .toLongLong();
        EXPECT_EQ(differing, 0) << when << ", " << SummaryTableName(grain).toStdString();
        EXPECT_GT(RawExec(path, QStringLiteral("SELECT count(*) FROM (%1)").arg(kept)).toLongLong(),
                  0)
            << when;
    }
}

// Rows over the edges of hours and days, some sensors stale, one row of an
// older station (freshness NULL) and one with a value missing, taken in a
// batch by the writer; again when an older file gets its summaries at its
// first writable open, and the rows left at a close.
TEST(RecordSummariesTest, EqualAGroupByOverFreshRowsAsWrittenAndWhenFilledOnce) {
    QTemporaryDir dir;
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    ASSERT_TRUE(db.HasSummaries());
    const QString path = db.FilePath();
    const int32_t offsets[] = {-86400, -3601, -3600, -1, 0, 1, 3599, 3600, 7200, 86399, 86400};
    for (int written = 0; written < RecordDatabase::kSummaryBatchRows; ++written) {
        RecordRow row =
            test::PatternRow(kDayEdge + offsets[written % 11], uint16_t(written), written * 7);
        for (int s = 0; s < kSensorCount; ++s) row.fresh[size_t(s)] = (written + s) % 4 != 0;
        if (written == 50) {
            QSqlQuery raw(db.Connection());
            ASSERT_TRUE(raw.exec(QStringLiteral("INSERT INTO data (Time, msTime, Temp2, Xacc2) "
                                                "VALUES (%1, 0, 1.5, 2.5)")
                                     .arg(kDayEdge + 10)));
            ASSERT_TRUE(raw.exec(QStringLiteral("INSERT INTO data SELECT Time + 1, msTime, %1, "
                                                "NULL, 0, NULL, 1, NULL, NULL FROM data WHERE "
                                                "Time = %2 LIMIT 1")
                                     .arg(RecordColumnList().section(',', 2))
                                     .arg(kDayEdge)));
        }
        ASSERT_TRUE(db.Insert(row));
    }
    ExpectSummariesEqualGroupBy(path, "a batch written");

    // Without them the file plays an older station's.
    db.Close();
    for (const char* drop : {"DROP TABLE data_hourly", "DROP TABLE data_summarised"})
        RawExec(path, drop);
    ASSERT_TRUE(db.Open(dir.path()));
    EXPECT_TRUE(db.HasSummaries());
    ExpectSummariesEqualGroupBy(path, "filled at open");
    ASSERT_TRUE(db.Insert(test::PatternRow(kDayEdge + 5, 0, 3)));
    db.Close();
    ExpectSummariesEqualGroupBy(path, "closed");
}

// The retention deletes raw rows, also some not yet summed, and the
// summaries stay what the rows gave; rows written after every row went
// (SQLite gives their rowids again) are summed; a clear empties them.
TEST(RecordSummariesTest, OutliveRetentionAndGoWithAClear) {
    QTemporaryDir dir;
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    const QString path = db.FilePath();
    constexpr qint64 kNowMs = qint64(kDayEdge) * 1000 + 20 * 86400000LL;
    ASSERT_TRUE(test::FillRows(db, 1500, kNowMs - 12 * 86400000LL, 60000));
    ASSERT_TRUE(db.CatchUpSummaries());
    ASSERT_TRUE(test::FillRows(db, 1500, kNowMs - 11 * 86400000LL, 60000));
    for (const SummaryGrain grain : {SummaryGrain::Hour, SummaryGrain::Day})
        RawExec(path, QStringLiteral("CREATE TABLE reference_%1 AS %2")
                          .arg(SummaryTableName(grain).section('_', 1),
                               GroupBySql(SummarySpanSeconds(grain))));
    RecordRetention retention(db, 7);
    QString error;
    for (int step = 0; step < 100; ++step) {
        const auto done = retention.RunStep(kNowMs, &error);
        ASSERT_TRUE(done) << error.toStdString();
        if (!done->more) break;
    }
    ASSERT_EQ(RawExec(path, "SELECT count(*) FROM data").toLongLong(), 0);
    ExpectSummariesEqualGroupBy(path, "after retention", QStringLiteral("reference"));

    ASSERT_TRUE(test::FillRows(db, 10, kNowMs, 1000));
    ASSERT_TRUE(db.CatchUpSummaries());
    EXPECT_EQ(RawExec(path, "SELECT sum(n) FROM data_hourly WHERE sensor = 1").toLongLong(), 3010);

    ASSERT_TRUE(db.ClearAll());
    for (const SummaryGrain grain : {SummaryGrain::Hour, SummaryGrain::Day})
        EXPECT_EQ(RawExec(path, "SELECT count(*) FROM " + SummaryTableName(grain)).toLongLong(), 0);
    ASSERT_TRUE(db.Insert(test::PatternRow(kDayEdge, 0, 1)));
    ASSERT_TRUE(db.CatchUpSummaries());
    ExpectSummariesEqualGroupBy(path, "after a clear");
}

// Another program writing the file when the recorder opens it: the rows the
// summaries had not taken yet fall behind, which is said once (a second
// failure adds nothing), and the next batch of rows takes them all.
TEST(RecordSummariesTest, AFileLockedByAnotherWriterLeavesThemBehindOnlyUntilTheNextBatch) {
    QTemporaryDir dir;
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    const QString path = db.FilePath();
    ASSERT_TRUE(test::FillRows(db, 100, qint64(kDayEdge) * 1000, 60000));
    db.Close();

    testing::internal::CaptureStderr();
    test::WithRawConnection(path, [&](QSqlDatabase& other) {
        ASSERT_TRUE(QSqlQuery(other).exec("BEGIN IMMEDIATE"));
        ASSERT_TRUE(db.Open(dir.path()));
        EXPECT_TRUE(db.SummariesBehind());
        EXPECT_FALSE(db.CatchUpSummaries());
        ASSERT_TRUE(QSqlQuery(other).exec("ROLLBACK"));
    });
    for (int written = 1; written <= RecordDatabase::kSummaryBatchRows; ++written) {
        ASSERT_TRUE(db.Insert(test::PatternRow(kDayEdge + 7200 + written, 0, written)));
        EXPECT_EQ(db.SummariesBehind(), written < RecordDatabase::kSummaryBatchRows) << written;
    }
    const QString said = QString::fromStdString(testing::internal::GetCapturedStderr());
    EXPECT_EQ(said.count(SummariesBehindText()), 1) << said.toStdString();
    EXPECT_TRUE(said.contains("database is locked")) << said.toStdString();
    ExpectSummariesEqualGroupBy(path, "the batch after the lock");
}

}  // namespace
}  // namespace orsan
