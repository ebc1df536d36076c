#include <gtest/gtest.h>

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <cmath>
#include <numeric>

#include "DatabaseDiagnostic.h"
#include "RecordColumns.h"
#include "RecordDatabase.h"
#include "RecordTestSupport.h"

namespace orsan {
namespace {

using test::PatternRow;
using test::RawExec;
using test::RawRowCount;
using test::ScopedReadOnly;
using test::WithRawConnection;

class RecordDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Path() const { return RecordDatabase::PathIn(dir_.path()); }

    QTemporaryDir dir_;
};

TEST_F(RecordDatabaseTest,
       CreatesTableOfSixtyTwoValueColumnsAndSixFlagsWithTimeIndexWalAndFullSync) {
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    EXPECT_TRUE(QFile::exists(dir_.filePath("DataRecord.db")));

    QStringList expected{"Time", "msTime"};
    for (int n = 1; n <= 6; ++n)
        for (const char* name :
             {"Temp", "Xacc", "Xvel", "Xdisp", "Yacc", "Yvel", "Ydisp", "Zacc", "Zvel", "Zdisp"})
            expected << QString::fromLatin1(name) + QString::number(n);
    for (int n = 1; n <= 6; ++n) expected << QStringLiteral("Ok%1").arg(n);

    WithRawConnection(Path(), [&](QSqlDatabase& raw) {
        QSqlQuery query(raw);
        ASSERT_TRUE(query.exec("PRAGMA table_info(data)"));
        QStringList names;
        QStringList types;
        while (query.next()) {
            names << query.value(1).toString();
            types << query.value(2).toString();
        }
        EXPECT_EQ(names, expected);
        ASSERT_EQ(types.size(), 68);
        EXPECT_EQ(types[0], "INTEGER");
        EXPECT_EQ(types[1], "INTEGER");
        EXPECT_EQ(types.mid(62), QStringList(6, "INTEGER"));

        ASSERT_TRUE(query.exec("PRAGMA journal_mode"));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value(0).toString(), "wal");

        // The page and export queries walk the Time index, no sort step.
        ASSERT_TRUE(query.exec(
            "EXPLAIN QUERY PLAN SELECT * FROM data ORDER BY Time DESC, rowid DESC LIMIT 22"));
        QString plan;
        while (query.next()) plan += query.value(3).toString() + "\n";
        EXPECT_TRUE(plan.contains("INDEX")) << plan.toStdString();
        EXPECT_FALSE(plan.contains("TEMP B-TREE")) << plan.toStdString();
    });

    // synchronous is per connection: ask the one that writes.
    QSqlQuery sync(db.Connection());
    ASSERT_TRUE(sync.exec("PRAGMA synchronous"));
    ASSERT_TRUE(sync.next());
    EXPECT_EQ(sync.value(0).toInt(), 2);  // FULL
}

TEST_F(RecordDatabaseTest, ReopensExistingTableAndAddsMissingTimeIndex) {
    {
        RecordDatabase db;
        ASSERT_TRUE(db.Open(dir_.path()));
        ASSERT_TRUE(db.Insert(PatternRow(1000, 1, 1)));
    }
    RawExec(Path(), "DROP INDEX data_time");
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    EXPECT_EQ(db.Count().value_or(-1), 1);
    EXPECT_EQ(RawExec(Path(),
                      "SELECT COUNT(*) FROM sqlite_master WHERE type='index' AND tbl_name='data' "
                      "AND sql NOT LIKE '%WHERE%'")
                  .toInt(),
              1);
}

// What a text INSERT of "%1.1f"/"%1.2f" values leaves in the table.
TEST_F(RecordDatabaseTest, StoresValuesRoundedAsTheirTextFormats) {
    struct Case {
        float input;
        int valueIndex;  // 0 = Temp ... 9 = Zdisp
        const char* text;
        double stored;
    };
    const Case cases[] = {
        {25.26f, 0, "25.3", 25.3},   // temperature: one decimal
        {-0.04f, 0, "-0.0", 0.0},    // rounds to (negative) zero
        {3.456f, 1, "3.46", 3.46},   // acceleration: two decimals
        {12.0f, 3, "12.0", 12.0},    // displacement keeps its one decimal
        {0.125f, 2, "0.12", 0.12},   // exact half: printf rounds to even
        {2.675f, 4, "2.67", 2.67},   // float just below the half
        {-7.777f, 9, "-7.8", -7.8},  // displacement
        {99999.99f, 8, "99999.99", 99999.99},
    };
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    int32_t time = 5000;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(FormatRecordValue(c.valueIndex, c.input), QString::fromLatin1(c.text));
        RecordRow row = PatternRow(time, 0, 0);
        std::array<float, 10> values = SlotValues(row.sensors[2]);
        values[size_t(c.valueIndex)] = c.input;
        SetSlotValues(row.sensors[2], values);
        ASSERT_TRUE(db.Insert(row));
        const QString column = SlotColumnNames(3)[size_t(c.valueIndex)];
        WithRawConnection(Path(), [&](QSqlDatabase& raw) {
            QSqlQuery query(raw);
            ASSERT_TRUE(query.exec(QStringLiteral("SELECT %1, typeof(%1) FROM data WHERE Time = %2")
                                       .arg(column)
                                       .arg(time)));
            ASSERT_TRUE(query.next());
            EXPECT_EQ(query.value(1).toString(), "real");
            EXPECT_DOUBLE_EQ(query.value(0).toDouble(), c.stored);
        });
        ++time;
    }
}

TEST_F(RecordDatabaseTest, StoresTimeAsSixtyFourBitIntegerAndEverySlotInItsColumns) {
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    const RecordRow row = PatternRow(1714523415, 7, 3);
    ASSERT_TRUE(db.Insert(row));
    WithRawConnection(Path(), [&](QSqlDatabase& raw) {
        QSqlQuery query(raw);
        ASSERT_TRUE(query.exec("SELECT * FROM data"));
        ASSERT_TRUE(query.next());
        EXPECT_EQ(query.value("Time").toLongLong(), 1714523415);
        EXPECT_EQ(query.value("msTime").toInt(), 7);
        for (int n = 1; n <= 6; ++n) {
            const auto names = SlotColumnNames(n);
            const auto values = SlotValues(row.sensors[size_t(n - 1)]);
            for (int v = 0; v < 10; ++v)
                EXPECT_EQ(FormatRecordValue(v, query.value(names[size_t(v)]).toFloat()),
                          FormatRecordValue(v, values[size_t(v)]))
                    << names[size_t(v)].toStdString();
        }
    });
}

TEST_F(RecordDatabaseTest, OlderTableGainsFreshnessColumnsAndItsRowsReadAsFresh) {
    QStringList columns{"Time INTEGER", "msTime INTEGER"};
    for (int c = 2; c < kRecordColumnCount; ++c) columns << RecordColumnName(c) + " REAL";
    RawExec(Path(), "CREATE TABLE data (" + columns.join(',') + ")");  // an older station's
    RawExec(Path(), "INSERT INTO data (Time, msTime) VALUES (100, 0)");
    RecordPage page;
    for (const auto mode :
         {RecordDatabase::Mode::ExistingOnly, RecordDatabase::Mode::CreateIfMissing}) {
        RecordDatabase db;
        ASSERT_TRUE(db.Open(dir_.path(), mode));
        // An export changes nothing; the station adds the six columns.
        EXPECT_EQ(RawExec(Path(), "SELECT count(*) FROM pragma_table_info('data')").toInt(),
                  mode == RecordDatabase::Mode::ExistingOnly ? 62 : 68);
        ASSERT_TRUE(db.LoadLastPage(22, &page));
        EXPECT_EQ(page.rows.at(0).fresh, RecordRow::AllFresh());
    }
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    RecordRow row = PatternRow(200, 0, 1);
    row.fresh[1] = false;
    ASSERT_TRUE(db.Insert(row));
    EXPECT_EQ(RawExec(Path(), "SELECT group_concat(quote(Ok1) || quote(Ok2), ' ') FROM data"),
              "NULLNULL 10");
    ASSERT_TRUE(db.LoadLastPage(22, &page));
    EXPECT_EQ(page.rows.at(1).fresh, SensorFreshness({true, false, true, true, true, true}));
    EXPECT_FLOAT_EQ(page.rows.at(1).values[10], 201.1f);  // the value itself is kept
}

struct PageCase {
    int rows;
    qint64 startIndex;
    int onPage;
};

class RecordPageQueryTest : public RecordDatabaseTest,
                            public ::testing::WithParamInterface<PageCase> {};

TEST_P(RecordPageQueryTest, LastPageHoldsTheNewestRowsInTimeOrder) {
    const PageCase c = GetParam();
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    // Written out of time order, so the page must sort, not follow rowid:
    // i * step mod rows visits every time once when step and rows are coprime.
    int step = 7;
    while (c.rows > 1 && std::gcd(step, c.rows) != 1) step += 2;
    for (int i = 0; i < c.rows; ++i) {
        const int32_t time = 2000 + ((i * step) % c.rows);
        ASSERT_TRUE(db.Insert(PatternRow(time, uint16_t(i % 1000), i)));
    }
    RecordPage page;
    ASSERT_TRUE(db.LoadLastPage(22, &page));
    EXPECT_EQ(page.count, c.rows);
    EXPECT_EQ(page.startIndex, c.startIndex);
    ASSERT_EQ(int(page.rows.size()), c.onPage);
    if (c.rows == 0) return;
    EXPECT_EQ(page.firstTime, 2000);
    EXPECT_EQ(page.lastTime, 2000 + c.rows - 1);
    for (int r = 0; r < c.onPage; ++r)
        EXPECT_EQ(page.rows[size_t(r)].time, 2000 + c.startIndex + r) << "row " << r;
}

INSTANTIATE_TEST_SUITE_P(PageSizes, RecordPageQueryTest,
                         ::testing::Values(PageCase{0, 0, 0}, PageCase{1, 0, 1},
                                           PageCase{21, 0, 21}, PageCase{22, 0, 22},
                                           PageCase{23, 22, 1}, PageCase{44, 22, 22},
                                           PageCase{45, 44, 1}),
                         [](const auto& info) { return "rows" + std::to_string(info.param.rows); });

TEST_F(RecordDatabaseTest, RowsOfOneSecondKeepTheirWriteOrder) {
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    const uint16_t millis[] = {900, 100, 500};
    for (uint16_t ms : millis) ASSERT_TRUE(db.Insert(PatternRow(3000, ms, ms)));
    ASSERT_TRUE(db.Insert(PatternRow(2999, 0, 0)));
    RecordPage page;
    ASSERT_TRUE(db.LoadLastPage(22, &page));
    ASSERT_EQ(page.rows.size(), 4u);
    EXPECT_EQ(page.rows[0].time, 2999);
    EXPECT_EQ(page.rows[1].milliseconds, 900);
    EXPECT_EQ(page.rows[2].milliseconds, 100);
    EXPECT_EQ(page.rows[3].milliseconds, 500);
}

TEST_F(RecordDatabaseTest, ClearDeletesEveryRowAndFailedClearKeepsAll) {
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(db.Insert(PatternRow(4000 + i, 0, i)));

    // Another program's trigger refuses the deletion of the fifth row: a
    // row-by-row delete would already have removed four.
    RawExec(Path(),
            "CREATE TRIGGER keep_fifth BEFORE DELETE ON data "
            "WHEN old.Time = 4004 BEGIN SELECT RAISE(ABORT, 'kept'); END");
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(db.ClearAll());
    const std::string diagnostic = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostic.find("data  : 删除数据出错-> 错误编号:0x"), std::string::npos)
        << diagnostic;
    EXPECT_NE(diagnostic.find("kept"), std::string::npos) << diagnostic;
    EXPECT_EQ(RawRowCount(Path()), 10);
    EXPECT_EQ(db.Count().value_or(-1), 10);

    RawExec(Path(), "DROP TRIGGER keep_fifth");
    EXPECT_TRUE(db.ClearAll());
    EXPECT_EQ(RawRowCount(Path()), 0);
    RecordPage page;
    ASSERT_TRUE(db.LoadLastPage(22, &page));
    EXPECT_EQ(page.count, 0);
    ASSERT_TRUE(db.Insert(PatternRow(5000, 0, 0)));
    EXPECT_EQ(db.Count().value_or(-1), 1);
}

TEST_F(RecordDatabaseTest, RefusesFilesThatAreNotOursWithoutChangingThem) {
    struct Case {
        const char* name;
        std::function<void(const QString&)> make;
    };
    const Case cases[] = {
        {"text file",
         [](const QString& path) {
             QFile file(path);
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             file.write(QByteArray(4096, 'x'));
         }},
        {"table data with other columns",
         [](const QString& path) {
             RawExec(path, "CREATE TABLE data (id INTEGER, payload TEXT)");
             RawExec(path, "INSERT INTO data VALUES (1, 'theirs')");
         }},
        {"other tables only",
         [](const QString& path) { RawExec(path, "CREATE TABLE invoices (id INTEGER)"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = RecordDatabase::PathIn(dir.path());
        c.make(path);
        QFile before(path);
        ASSERT_TRUE(before.open(QIODevice::ReadOnly));
        const QByteArray bytes = before.readAll();
        before.close();

        RecordDatabase db;
        ::testing::internal::CaptureStderr();
        EXPECT_FALSE(db.Open(dir.path()));
        const std::string diagnostic = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(db.IsOpen());
        EXPECT_NE(diagnostic.find("错误编号:0x"), std::string::npos);
        EXPECT_NE(diagnostic.find("错误信息:"), std::string::npos);
        EXPECT_NE(diagnostic.find("错误描述:"), std::string::npos);
        EXPECT_FALSE(db.Insert(PatternRow(1, 0, 0)));

        QFile after(path);
        ASSERT_TRUE(after.open(QIODevice::ReadOnly));
        EXPECT_EQ(after.readAll(), bytes);
    }
}

TEST_F(RecordDatabaseTest, ReadOnlyFolderCannotHoldANewDatabase) {
    ScopedReadOnly readOnly(dir_.path());
    if (!readOnly.Applied()) GTEST_SKIP() << "file system cannot make the folder read-only";
    RecordDatabase db;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(db.Open(dir_.path()));
    ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(QFile::exists(Path()));
}

TEST_F(RecordDatabaseTest, ReadOnlyFileKeepsRowsReadableAndWritesResumeWhenWritable) {
    {
        RecordDatabase db;
        ASSERT_TRUE(db.Open(dir_.path()));
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(db.Insert(PatternRow(6000 + i, 0, i)));
    }
    ScopedReadOnly readOnly(Path());
    if (!readOnly.Applied()) GTEST_SKIP() << "file system cannot make the file read-only";

    RecordDatabase db;
    ::testing::internal::CaptureStderr();
    ASSERT_TRUE(db.Open(dir_.path()));
    RecordPage page;
    ASSERT_TRUE(db.LoadLastPage(22, &page));
    EXPECT_EQ(page.count, 3);
    EXPECT_FALSE(db.Insert(PatternRow(6100, 0, 0)));
    EXPECT_FALSE(db.Insert(PatternRow(6101, 0, 0)));
    const std::string diagnostic = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostic.find("Data  : 记录数据出错-> 错误编号:0x"), std::string::npos)
        << diagnostic;
    EXPECT_EQ(db.Count().value_or(-1), 3);

    readOnly.Undo();
    EXPECT_TRUE(db.Insert(PatternRow(6102, 0, 0)));
    EXPECT_EQ(RawRowCount(Path()), 4);
    ASSERT_TRUE(db.LoadLastPage(22, &page));
    EXPECT_EQ(page.count, 4);
    EXPECT_EQ(page.lastTime, 6102);
}

// A full disk, played by the file size limit: writes past it fail.
TEST_F(RecordDatabaseTest, FullDiskFailsWritesWithoutLosingRowsAndRecovers) {
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir_.path()));
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(db.Insert(PatternRow(7000 + i, 0, i)));

    bool anyWritten = false;
    test::WithFileSizeLimit(0, [&] {
        for (int i = 0; i < 3; ++i) anyWritten |= db.Insert(PatternRow(7100 + i, 0, i));
    });
    EXPECT_FALSE(anyWritten);
    // (stderr itself may be a file under the same limit: look at the text kept.)
    EXPECT_TRUE(db.LastDiagnostic().startsWith("Data  : 记录数据出错-> 错误编号:0x"))
        << db.LastDiagnostic().toStdString();

    EXPECT_TRUE(db.Insert(PatternRow(7200, 0, 0)));
    EXPECT_EQ(RawRowCount(Path()), 6);
    EXPECT_EQ(RawExec(Path(), "PRAGMA integrity_check").toString(), "ok");
}

TEST(DatabaseDiagnosticTest, ComposesPrefixCodeAndFieldsOnTheirOwnLines) {
    DatabaseFailure failure;
    failure.code = 0x30a;
    failure.message = "Unable to fetch row";
    failure.source = "SQLite";
    failure.description = "disk I/O error";
    EXPECT_EQ(ComposeDiagnostic(kWriteDiagnosticPrefix, failure),
              QStringLiteral("Data  : 记录数据出错-> 错误编号:0x0000030A\n错误信息:Unable to "
                             "fetch row\n错误源:SQLite\n错误描述:disk I/O error"));
    EXPECT_TRUE(ComposeDiagnostic(QString(), failure).startsWith("错误编号:0x0000030A\n"));
}

}  // namespace
}  // namespace orsan
