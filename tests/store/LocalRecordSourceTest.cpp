#include <gtest/gtest.h>

#include <QSqlQuery>
#include <filesystem>

#include "LocalRecordSource.h"
#include "RecordDatabase.h"
#include "StoreTestRows.h"
#include "TempDir.h"

namespace orsan::store {
namespace {

using test::KnownTimeMs;
using test::KnownValue;

std::string DbPath(const test::TempDir& dir) {
    return dir.File("DataRecord.db");
}

TEST(LocalRecordSource, NothingToForwardWithoutTheStationsTable) {
    test::TempDir dir;
    LocalRecordSource missing(DbPath(dir));
    EXPECT_FALSE(missing.Open());
    EXPECT_EQ(missing.Error(), "");
    EXPECT_FALSE(std::filesystem::exists(DbPath(dir))) << "the file is the record writer's to make";

    {
        // Another program's database: left exactly as it is.
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(QString::fromStdString(DbPath(dir)));
        ASSERT_TRUE(db.open());
        ASSERT_TRUE(QSqlQuery(db).exec("CREATE TABLE invoices (id INTEGER)"));
        db.close();
    }
    QSqlDatabase::removeDatabase("foreign");
    LocalRecordSource foreign(DbPath(dir));
    EXPECT_FALSE(foreign.Open());
    EXPECT_EQ(foreign.Error(), "");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "check");
        db.setDatabaseName(QString::fromStdString(DbPath(dir)));
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec("SELECT count(*) FROM sqlite_master WHERE name='store_position'"));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toInt(), 0);
    }
    QSqlDatabase::removeDatabase("check");
}

TEST(LocalRecordSource, ReadsValuesInServerOrderAfterThePosition) {
    test::TempDir dir;
    test::WriteKnownRows(QString::fromStdString(dir.Path().string()), 0, 7);
    LocalRecordSource source(DbPath(dir));
    ASSERT_TRUE(source.Open()) << source.Error();

    ForwardPosition start;
    std::vector<LocalRecord> records;
    ASSERT_TRUE(source.ReadAfter(start, 4, &records));
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(source.CountAfter(start), 7);
    for (int n = 0; n < 4; ++n) {
        const LocalRecord& r = records[size_t(n)];
        EXPECT_EQ(r.time * 1000 + r.milliseconds, KnownTimeMs(n));
        for (int s = 1; s <= kStoreSensors; ++s)
            for (int k = 0; k < kStoreValues; ++k)
                EXPECT_EQ(r.values[size_t((s - 1) * kStoreValues + k)], KnownValue(n, s, k))
                    << "record " << n << " sensor " << s << " value " << k;
        EXPECT_TRUE(r.isNull.none());
    }
    ForwardPosition after{records.back().rowId, records.back().time, records.back().milliseconds};
    ASSERT_TRUE(source.ReadAfter(after, 100, &records));
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records.front().time * 1000 + records.front().milliseconds, KnownTimeMs(4));
    EXPECT_EQ(source.CountAfter(after), 3);
}

TEST(LocalRecordSource, PositionSurvivesReopenAndFallsBackWhenTheTableWasCleared) {
    test::TempDir dir;
    const QString folder = QString::fromStdString(dir.Path().string());
    test::WriteKnownRows(folder, 0, 5);
    ForwardPosition saved;
    {
        LocalRecordSource source(DbPath(dir));
        ASSERT_TRUE(source.Open());
        EXPECT_EQ(source.LoadPosition("a@server")->rowId, 0);
        std::vector<LocalRecord> records;
        ASSERT_TRUE(source.ReadAfter(saved, 3, &records));
        saved = {records.back().rowId, records.back().time, records.back().milliseconds};
        ASSERT_TRUE(source.SavePosition("a@server", saved));
    }
    {
        LocalRecordSource source(DbPath(dir));
        ASSERT_TRUE(source.Open());
        const auto loaded = source.LoadPosition("a@server");
        ASSERT_TRUE(loaded);
        EXPECT_EQ(loaded->rowId, saved.rowId);
        EXPECT_EQ(source.CountAfter(*loaded), 2);
        EXPECT_EQ(source.LoadPosition("a@another")->rowId, 0) << "each server has its own";
    }
    {
        // The record page clears the table; new rows take the old rowids.
        RecordDatabase database;
        ASSERT_TRUE(database.Open(folder));
        ASSERT_TRUE(database.ClearAll());
        for (int n = 100; n < 104; ++n) ASSERT_TRUE(database.Insert(test::KnownRow(n)));
    }
    LocalRecordSource source(DbPath(dir));
    ASSERT_TRUE(source.Open());
    ForwardPosition position = *source.LoadPosition("a@server");
    EXPECT_EQ(position.rowId, 0) << "the saved row is gone: start again";
    std::vector<LocalRecord> records;
    ForwardPosition stale = saved;
    ASSERT_TRUE(source.ReadAfter(stale, 100, &records));
    EXPECT_EQ(records.size(), 4u) << "a stale position read mid-run also starts again";
    EXPECT_EQ(stale.rowId, 0);
}

}  // namespace
}  // namespace orsan::store
