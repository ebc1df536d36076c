#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "LocalRecordSource.h"
#include "RecordDatabase.h"
#include "StoreTestRows.h"
#include "TempDir.h"

namespace orsan::store {
namespace {

std::string DbPath(const test::TempDir& dir) {
    return dir.File("DataRecord.db");
}

TEST(LocalRecordSource, NothingToForwardWithoutTheStationsTable) {
    test::TempDir dir;
    LocalRecordSource missing(DbPath(dir));
    EXPECT_FALSE(missing.Open());
    EXPECT_EQ(missing.Error(), "");
    EXPECT_FALSE(std::filesystem::exists(DbPath(dir))) << "the file is the record writer's to make";

    // Another program's database gets no table of ours.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(DbPath(dir).c_str(), &db), SQLITE_OK);
    sqlite3_exec(db, "CREATE TABLE invoices (id INTEGER)", nullptr, nullptr, nullptr);
    LocalRecordSource foreign(DbPath(dir));
    EXPECT_FALSE(foreign.Open());
    EXPECT_EQ(foreign.Error(), "");
    EXPECT_NE(sqlite3_exec(db, "SELECT * FROM store_position", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
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
