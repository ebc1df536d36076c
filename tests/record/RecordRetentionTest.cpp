#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "DiskSpaceGuard.h"
#include "RecordDatabase.h"
#include "RecordRetention.h"
#include "RecordTestSupport.h"

namespace orsan {
namespace {

using test::FillRows;
using test::PatternRow;
using test::RawExec;
using test::RawRowCount;

constexpr qint64 kNowMs = 1714523415000;  // 2024-05-01 00:30:15 UTC
constexpr qint64 kDayMs = 24LL * 3600 * 1000;

class RecordRetentionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ASSERT_TRUE(db_.Open(dir_.path()));
    }
    QString Path() const { return db_.FilePath(); }
    qint64 RowsBefore(qint64 seconds) const {
        return RawExec(Path(), QStringLiteral("SELECT COUNT(*) FROM data WHERE Time < %1")
                                   .arg(seconds))
            .toLongLong();
    }
    qint64 FileBytesAfterCheckpoint() const {
        RawExec(Path(), QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        return QFileInfo(Path()).size();
    }

    QTemporaryDir dir_;
    RecordDatabase db_;
};

// Seven days kept: the old rows go a batch at a time while a row is written
// between two steps; every row of the last seven days, those of the limit's
// own second included, stays, the count shown follows, and the file gives
// its pages back.
TEST_F(RecordRetentionTest, DeletesOnlyRowsOlderThanTheKeptDaysInBatchesWhileRecording) {
    const qint64 limitSeconds = (kNowMs - 7 * kDayMs) / 1000;
    const qint64 old = 12 * RecordRetention::kBatchRows + 17;
    ASSERT_TRUE(FillRows(db_, old, kNowMs - 10 * kDayMs, 1000));
    // 60 s either side of the limit, four rows a second.
    ASSERT_TRUE(FillRows(db_, 480, (limitSeconds - 60) * 1000, 250));
    ASSERT_TRUE(FillRows(db_, 1000, kNowMs - 3600 * 1000, 1000));
    const qint64 total = RawRowCount(Path());
    const qint64 expiring = RowsBefore(limitSeconds);
    ASSERT_EQ(expiring, old + 240);
    ASSERT_EQ(db_.Count(), total);
    const qint64 bytesBefore = FileBytesAfterCheckpoint();

    RecordRetention retention(db_, 7);
    qint64 deleted = 0;
    int steps = 0;
    int written = 0;
    for (bool more = true; more; ++steps) {
        ASSERT_LT(steps, 100) << "retention never ends";
        QString error;
        const std::optional<RecordRetention::Step> step = retention.RunStep(kNowMs, &error);
        ASSERT_TRUE(step) << error.toStdString();
        EXPECT_LE(step->deleted, RecordRetention::kBatchRows);
        deleted += step->deleted;
        more = step->more;
        ASSERT_TRUE(db_.Insert(PatternRow(int32_t(kNowMs / 1000) + steps, 0, steps)));
        ++written;
    }
    EXPECT_GE(steps, int(expiring / RecordRetention::kBatchRows) + 1);
    EXPECT_EQ(deleted, expiring);
    EXPECT_EQ(RowsBefore(limitSeconds), 0);
    EXPECT_EQ(RawRowCount(Path()), total - expiring + written);
    EXPECT_EQ(db_.Count(), RawRowCount(Path()));
    EXPECT_EQ(RawExec(Path(), "PRAGMA freelist_count").toLongLong(), 0);
    EXPECT_LT(FileBytesAfterCheckpoint(), bytesBefore * 2 / 3);
    EXPECT_EQ(RawExec(Path(), "PRAGMA integrity_check").toString(), "ok");

    const std::optional<RecordRetention::Step> idle = retention.RunStep(kNowMs, nullptr);
    ASSERT_TRUE(idle);
    EXPECT_EQ(idle->deleted, 0);
    EXPECT_FALSE(idle->more);
}

// KEEP_DAYS=0 keeps every row; a file made before incremental vacuum (mode
// none) loses its old rows but keeps the free pages for new ones.
TEST_F(RecordRetentionTest, KeepAllDeletesNothingAndAnOlderFileKeepsItsFreePages) {
    ASSERT_EQ(RawExec(Path(), "PRAGMA auto_vacuum").toInt(), 2) << "a new file gives pages back";
    ASSERT_TRUE(FillRows(db_, 3000, kNowMs - 30 * kDayMs, 1000));
    const std::optional<RecordRetention::Step> kept = RecordRetention(db_, 0).RunStep(kNowMs, nullptr);
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->deleted, 0);
    EXPECT_EQ(RawRowCount(Path()), 3000);

    db_.Close();
    // One connection: the mode only changes by a VACUUM outside WAL.
    test::WithRawConnection(Path(), [](QSqlDatabase& raw) {
        QSqlQuery query(raw);
        for (const char* sql : {"PRAGMA journal_mode=DELETE", "PRAGMA auto_vacuum=NONE", "VACUUM"})
            EXPECT_TRUE(query.exec(sql)) << sql;
    });
    ASSERT_EQ(RawExec(Path(), "PRAGMA auto_vacuum").toInt(), 0);
    ASSERT_TRUE(db_.Open(dir_.path()));
    RecordRetention retention(db_, 1);
    const std::optional<RecordRetention::Step> step = retention.RunStep(kNowMs, nullptr);
    ASSERT_TRUE(step);
    EXPECT_EQ(step->deleted, RecordRetention::kBatchRows);
    EXPECT_EQ(step->pagesFreed, 0);
    EXPECT_GT(RawExec(Path(), "PRAGMA freelist_count").toLongLong(), 0);
}

// A file that can only be read: the step fails with the reason and
// nothing is deleted.
TEST_F(RecordRetentionTest, ARefusedStepSaysWhyAndDeletesNothing) {
    ASSERT_TRUE(FillRows(db_, 1000, kNowMs - 30 * kDayMs, 1000));
    db_.Close();
    test::ScopedReadOnly readOnly(Path());
    if (!readOnly.Applied()) GTEST_SKIP() << "the file system keeps the file writable";
    ASSERT_TRUE(db_.Open(dir_.path()));
    QString error;
    EXPECT_FALSE(RecordRetention(db_, 7).RunStep(kNowMs, &error));
    EXPECT_TRUE(error.startsWith("删除过期记录失败：")) << error.toStdString();
    readOnly.Undo();
    EXPECT_EQ(RawRowCount(Path()), 1000);
}

// Nearly full is under 1 % or under 200 MB free, whichever is more; the
// stop is lifted a tenth above it, and a disk that cannot be probed changes
// nothing.
TEST(DiskSpaceGuardTest, StopsWhenNearlyFullAndResumesWhenSpaceIsBack) {
    constexpr qint64 kMB = 1024 * 1024;
    constexpr qint64 kBig = 100 * 1024 * kMB;  // 1 % = 1024 MB
    constexpr qint64 kSmall = 1024 * kMB;      // 200 MB rules
    using Change = DiskSpaceGuard::Change;
    struct Case {
        std::optional<DiskSpace> space;
        Change change;
    };
    const Case cases[] = {
        {DiskSpace{2000 * kMB, kBig}, Change::None},    {DiskSpace{1000 * kMB, kBig}, Change::Stopped},
        {DiskSpace{1100 * kMB, kBig}, Change::None},    {std::nullopt, Change::None},
        {DiskSpace{1127 * kMB, kBig}, Change::Resumed}, {DiskSpace{300 * kMB, kSmall}, Change::None},
        {DiskSpace{199 * kMB, kSmall}, Change::Stopped}, {DiskSpace{221 * kMB, kSmall}, Change::Resumed},
    };
    std::optional<DiskSpace> now;
    QStringList folders;
    DiskSpaceGuard guard([&](const QString& folder) {
        folders << folder;
        return now;
    });
    for (const Case& c : cases) {
        now = c.space;
        EXPECT_EQ(guard.Check("/data"), c.change) << (c.space ? c.space->available / kMB : -1);
        if (c.change == Change::Stopped) {
            EXPECT_TRUE(guard.StoppedText().contains("/data"));
            EXPECT_TRUE(guard.StoppedText().contains(QString::number(c.space->available / kMB)));
        }
    }
    EXPECT_FALSE(guard.IsStopped());
    EXPECT_EQ(folders, QStringList(8, "/data"));
}

}  // namespace
}  // namespace orsan
