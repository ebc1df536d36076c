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

using test::RawExec;

// Seven days kept: the old rows go a batch at a time while a row is written
// between two steps; every row of the last seven days (the limit's own
// second included) stays, the count shown follows, and the file shrinks.
TEST(RecordRetentionTest, DeletesOnlyRowsOlderThanTheKeptDaysInBatchesWhileRecording) {
    constexpr qint64 kNowMs = 1714523415000;
    const qint64 limitSeconds = (kNowMs - 7 * 86400000LL) / 1000;
    QTemporaryDir dir;
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    const QString path = db.FilePath();
    const auto count = [&](const char* where) {
        return RawExec(path, QStringLiteral("SELECT COUNT(*) FROM data %1").arg(where))
            .toLongLong();
    };
    const auto bytes = [&] {
        RawExec(path, "PRAGMA wal_checkpoint(TRUNCATE)");
        return QFileInfo(path).size();
    };
    const qint64 old = 12 * RecordRetention::kBatchRows + 17;
    ASSERT_TRUE(test::FillRows(db, old, kNowMs - 10 * 86400000LL, 1000));
    ASSERT_TRUE(test::FillRows(db, 480, (limitSeconds - 60) * 1000, 250));  // 240 expire
    ASSERT_TRUE(test::FillRows(db, 1000, kNowMs - 3600000, 1000));
    const qint64 total = count("");
    const QString older = QStringLiteral("WHERE Time < %1").arg(limitSeconds);
    ASSERT_EQ(count(qPrintable(older)), old + 240);
    ASSERT_EQ(db.Count(), total);
    const qint64 bytesBefore = bytes();

    RecordRetention retention(db, 7);
    qint64 deleted = 0;
    int steps = 0;
    for (bool more = true; more; ++steps) {
        ASSERT_LT(steps, 100) << "retention never ends";
        QString error;
        const std::optional<RecordRetention::Step> step = retention.RunStep(kNowMs, &error);
        ASSERT_TRUE(step) << error.toStdString();
        EXPECT_LE(step->deleted, RecordRetention::kBatchRows);
        deleted += step->deleted;
        more = step->more;
        ASSERT_TRUE(db.Insert(test::PatternRow(int32_t(kNowMs / 1000) + steps, 0, steps)));
    }
    EXPECT_EQ(deleted, old + 240);
    EXPECT_EQ(count(qPrintable(older)), 0);
    EXPECT_EQ(count(""), total - deleted + steps);
    EXPECT_EQ(db.Count(), count(""));
    QSqlQuery sync(db.Connection());
    ASSERT_TRUE(sync.exec("PRAGMA synchronous") && sync.next());
    EXPECT_EQ(sync.value(0).toInt(), 2) << "rows are written with a full sync again";
    EXPECT_EQ(RawExec(path, "PRAGMA freelist_count").toLongLong(), 0);
    EXPECT_LT(bytes(), bytesBefore * 2 / 3);
    EXPECT_EQ(RawExec(path, "PRAGMA integrity_check").toString(), "ok");
}

// Nearly full is under 1 % or under 200 MB free, whichever is more; the
// stop is lifted a tenth above it; a disk that cannot be probed changes
// nothing.
TEST(DiskSpaceGuardTest, StopsWhenNearlyFullAndResumesWhenSpaceIsBack) {
    constexpr qint64 kMB = 1024 * 1024;
    constexpr qint64 kBig = 100 * 1024 * kMB;  // 1 % = 1024 MB
    constexpr qint64 kSmall = 1024 * kMB;      // 200 MB rules
    using Change = DiskSpaceGuard::Change;
    const std::pair<std::optional<DiskSpace>, Change> cases[] = {
        {DiskSpace{2000 * kMB, kBig}, Change::None},
        {DiskSpace{1000 * kMB, kBig}, Change::Stopped},
        {DiskSpace{1100 * kMB, kBig}, Change::None},
        {std::nullopt, Change::None},
        {DiskSpace{1127 * kMB, kBig}, Change::Resumed},
        {DiskSpace{300 * kMB, kSmall}, Change::None},
        {DiskSpace{199 * kMB, kSmall}, Change::Stopped},
        {DiskSpace{221 * kMB, kSmall}, Change::Resumed},
    };
    std::optional<DiskSpace> now;
    DiskSpaceGuard guard([&](const QString& folder) {
        EXPECT_EQ(folder, "/data");
        return now;
    });
    for (const auto& [space, change] : cases) {
        now = space;
        EXPECT_EQ(guard.Check("/data"), change) << (space ? space->available / kMB : -1);
        if (change == Change::Stopped) {
            EXPECT_TRUE(guard.StoppedText().contains(QString::number(space->available / kMB)));
        }
    }
}

}  // namespace
}  // namespace orsan
