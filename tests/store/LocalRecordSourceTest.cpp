#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "LocalRecordSource.h"
#include "RecordColumns.h"
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

TEST(LocalRecordSource, RowsOfAnOlderTableAreFreshAndAStaleReadingAddedLaterIsNot) {
    test::TempDir dir;
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(DbPath(dir).c_str(), &db), SQLITE_OK);
    std::string columns = "Time INTEGER, msTime INTEGER";
    for (int c = 2; c < kRecordColumnCount; ++c)
        columns += ", " + RecordColumnName(c).toStdString() + " REAL";
    ASSERT_EQ(sqlite3_exec(db, ("CREATE TABLE data (" + columns + ")").c_str(), nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "INSERT INTO data (Time, msTime, Temp3) VALUES (100, 0, 1.5)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    LocalRecordSource source(DbPath(dir));
    ASSERT_TRUE(source.Open());
    ForwardPosition position;
    std::vector<LocalRecord> records;
    ASSERT_TRUE(source.ReadAfter(position, 10, &records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_TRUE(records[0].fresh.all());
    position = {records[0].rowId, records[0].time, records[0].milliseconds};

    {
        // The station opens the table (adding its freshness columns) and
        // writes a row whose sensor 3 is silent, while the source stays open.
        RecordDatabase database;
        ASSERT_TRUE(database.Open(QString::fromStdString(dir.Path().string())));
        RecordRow row = test::KnownRow(1);
        row.fresh[2] = false;
        ASSERT_TRUE(database.Insert(row));
    }
    ASSERT_TRUE(source.ReadAfter(position, 10, &records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].fresh, SensorMask("111011"));
    std::string text;
    EXPECT_EQ(AppendReadingsCopyText(records, SensorMask().set(), "s", text), 5);
    EXPECT_EQ(text.find("\t3\t"), std::string::npos) << text;
}

}  // namespace
}  // namespace orsan::store
