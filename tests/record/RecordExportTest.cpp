#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <vector>

#include "RecordColumns.h"
#include "RecordCommand.h"
#include "RecordCsvExport.h"
#include "RecordDatabase.h"
#include "RecordExport.h"
#include "RecordTestSupport.h"
#include "StationConfig.h"

namespace orsan {
namespace {

using test::ExpectedThreeRowFile;
using test::FillRows;
using test::PatternRow;
using test::RawRowCount;
using test::ReadAll;
using test::WithRawConnection;
using test::WriteThreeRows;

TEST(CsvFieldTest, QuotesOnlyWhatNeedsIt) {
    const struct {
        QByteArray in;
        QByteArray out;
    } cases[] = {
        {"", ""},
        {"25.3", "25.3"},
        {"a b;c", "a b;c"},
        {"a,b", "\"a,b\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"two\nlines", "\"two\nlines\""},
        {"cr\r", "\"cr\r\""},
    };
    for (const auto& c : cases) EXPECT_EQ(CsvField(c.in), c.out) << c.in.constData();
}

class RecordExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dataDir_.isValid());
        ASSERT_TRUE(outDir_.isValid());
        ASSERT_TRUE(db_.Open(dataDir_.path()));
    }
    QString Out(const char* name) const { return outDir_.filePath(QString::fromUtf8(name)); }
    QStringList OutEntries() const {
        return QDir(outDir_.path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir dataDir_;
    QTemporaryDir outDir_;
    RecordDatabase db_;
};

// The text or the CSV export, whichever the case asks for.
RecordExportResult Export(RecordDatabase& db, bool csv, int sensor, const RecordRange& range,
                          const QString& path) {
    return csv ? ExportSensorCsv(db, sensor, range, path)
               : ExportSensorRecords(db, sensor, path, range);
}

TEST_F(RecordExportTest, ThreeRowsOfSlotFourByteForByteAStaleOneBlankOnlyInTheCsv) {
    WriteThreeRows(db_);
    ASSERT_TRUE(QSqlQuery(db_.Connection()).exec("UPDATE data SET Ok4 = 0 WHERE msTime = 7"));
    const struct {
        bool csv;
        const char* file;
        QByteArray expected;
    } cases[] = {
        {false, "out.txt", ExpectedThreeRowFile()},
        // Stored values (rounded on insert) in curve order; time 8 h east of UTC.
        {true, "a.csv",
         "time,T_Shell,Acc_X,Acc_Y,Acc_Z,Vel_X,Vel_Y,Vel_Z,Disp_X,Disp_Y,Disp_Z\r\n"
         "2024-05-01T08:30:14.999+08:00,30,1,4,7,2,5,8,3,6,9\r\n"
         "2024-05-01T08:30:15.007+08:00,,,,,,,,,,\r\n"
         "2024-05-01T08:30:15.003+08:00,-5,0,2.2,0.01,0.5,10,7,0,1,88\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        QTemporaryDir out;
        const RecordExportResult result =
            Export(db_, c.csv, 4, RecordRange::All(), out.filePath(c.file));
        ASSERT_EQ(result.status, RecordExportResult::Status::Written) << result.error.toStdString();
        EXPECT_EQ(result.rows, 3);
        EXPECT_EQ(ReadAll(out.filePath(c.file)), c.expected);
        EXPECT_EQ(QDir(out.path()).entryList(QDir::Files | QDir::Hidden), QStringList{c.file});
    }
}

TEST_F(RecordExportTest, NullAndForeignTextStayVisible) {
    WriteThreeRows(db_);
    QSqlQuery query(db_.Connection());
    ASSERT_TRUE(
        query.exec("UPDATE data SET Temp4 = NULL, Zdisp4 = 'n/a, \"bad\"' WHERE msTime = 3"));
    ASSERT_EQ(ExportSensorCsv(db_, 4, RecordRange::All(), Out("b.csv")).status,
              RecordExportResult::Status::Written);
    EXPECT_TRUE(ReadAll(Out("b.csv"))
                    .endsWith("2024-05-01T08:30:15.003+08:00,,0,2.2,0.01,0.5,10,7,0,1,"
                              "\"n/a, \"\"bad\"\"\"\r\n"));
}

TEST_F(RecordExportTest, FailuresAndEmptyRangesLeaveNoFileAndSayWhy) {
    WriteThreeRows(db_);
    using Status = RecordExportResult::Status;
    const RecordRange all = RecordRange::All();
    struct Case {
        const char* name;
        bool csv;
        int sensor;
        const char* file;
        RecordRange range;
        Status status;
        const char* errorHas;  // besides being non-empty, for a failure
        bool closeDatabase;
    };
    const Case cases[] = {
        {"csv, empty range", true, 4, "c.csv", RecordRange::Between(0, 1000), Status::Empty, "",
         false},
        {"csv, sensor 0", true, 0, "c.csv", all, Status::Failed, "", false},
        {"csv, missing folder", true, 4, "missing/c.csv", all, Status::Failed, "missing", false},
        {"missing folder", false, 2, "missing/out.txt", all, Status::Failed, "", false},
        {"sensor 0", false, 0, "out.txt", all, Status::Failed, "", false},
        {"sensor 7", false, 7, "out.txt", all, Status::Failed, "", false},
        {"database closed", false, 2, "out.txt", all, Status::Failed, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.closeDatabase) db_.Close();
        const RecordExportResult result = Export(db_, c.csv, c.sensor, c.range, Out(c.file));
        EXPECT_EQ(result.status, c.status);
        if (c.status == Status::Failed) {
            EXPECT_FALSE(result.error.isEmpty());
            EXPECT_TRUE(result.error.contains(c.errorHas)) << result.error.toStdString();
        }
        EXPECT_TRUE(OutEntries().isEmpty());
    }
}

// The disk fills up in the middle of the file (played by the file size
// limit): the export fails and leaves nothing, not a truncated file.
TEST_F(RecordExportTest, DiskFullMidFileLeavesNoFile) {
    QSqlDatabase connection = db_.Connection();
    ASSERT_TRUE(connection.transaction());
    for (int i = 0; i < 20000; ++i) ASSERT_TRUE(db_.Insert(PatternRow(1700000000 + i, 0, i)));
    ASSERT_TRUE(connection.commit());

    RecordExportResult result;
    test::WithFileSizeLimit(1 << 20, [&] {  // the file would be 2.6 MB
        result = ExportSensorRecords(db_, 2, Out("out.txt"));
    });
    EXPECT_EQ(result.status, RecordExportResult::Status::Failed);
    EXPECT_TRUE(result.error.contains("out.txt")) << result.error.toStdString();
    EXPECT_TRUE(OutEntries().isEmpty());
}

TEST_F(RecordExportTest, EmptyTableMakesNoFileAndKeepsAnOlderOneUntilACompleteExport) {
    const QString path = Out("out.txt");
    EXPECT_EQ(ExportSensorRecords(db_, 1, path).status, RecordExportResult::Status::Empty);
    EXPECT_TRUE(OutEntries().isEmpty());
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("older export\r\n");
    }
    EXPECT_EQ(ExportSensorRecords(db_, 4, path).status, RecordExportResult::Status::Empty);
    EXPECT_EQ(ReadAll(path), QByteArray("older export\r\n"));
    WriteThreeRows(db_);
    EXPECT_EQ(ExportSensorRecords(db_, 4, path).status, RecordExportResult::Status::Written);
    EXPECT_EQ(ReadAll(path), ExpectedThreeRowFile());
}

// The CSV read back against a direct query of the same file: the same rows,
// the same instants, the same values.
TEST_F(RecordExportTest, RangeMatchesADirectQuery) {
    const qint64 first = 1796659199000 - 150 * 300;  // across local midnight
    ASSERT_TRUE(FillRows(db_, 300, first, 300));
    const RecordRange range = RecordRange::Between(first + 10 * 300 + 1, first + 200 * 300);
    ASSERT_EQ(ExportSensorCsv(db_, 5, range, Out("d.csv")).status,
              RecordExportResult::Status::Written);
    QList<QByteArray> lines = ReadAll(Out("d.csv")).split('\n');
    ASSERT_EQ(lines.takeFirst(), CsvHeaderLine().chopped(1));
    ASSERT_EQ(lines.takeLast(), QByteArray());

    std::vector<QList<QByteArray>> expected;
    WithRawConnection(db_.FilePath(), [&](QSqlDatabase& raw) {
        QSqlQuery query(raw);
        ASSERT_TRUE(query.exec(
            QStringLiteral(
                "SELECT Time*1000+msTime,Temp5,Xacc5,Yacc5,Zacc5,Xvel5,Yvel5,Zvel5,Xdisp5,Ydisp5,"
                "Zdisp5 FROM data WHERE Time*1000+msTime BETWEEN %1 AND %2 ORDER BY Time, rowid")
                .arg(range.fromMs)
                .arg(range.toMs)));
        while (query.next()) {
            QList<QByteArray> row;
            for (int c = 0; c < 11; ++c) row << query.value(c).toByteArray();
            expected.push_back(row);
        }
    });
    ASSERT_EQ(qsizetype(expected.size()), lines.size());
    ASSERT_EQ(expected.size(), 190u);
    for (size_t i = 0; i < expected.size(); ++i) {
        const QList<QByteArray> fields = lines[qsizetype(i)].chopped(1).split(',');
        ASSERT_EQ(fields.size(), 11);
        const QDateTime time =
            QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs);
        EXPECT_EQ(time.toMSecsSinceEpoch(), expected[i][0].toLongLong()) << fields[0].constData();
        EXPECT_EQ(time.offsetFromUtc(), 8 * 3600);
        for (int c = 1; c < 11; ++c)
            EXPECT_EQ(fields[c].toDouble(), expected[i][c].toDouble()) << i << ":" << c;
    }
}

// A range of the text export is exactly the whole export's lines of those rows.
TEST_F(RecordExportTest, TextExportOfARangeIsASliceOfTheWholeOne) {
    const qint64 first = 1796605805000;
    ASSERT_TRUE(FillRows(db_, 50, first, 300));
    ASSERT_EQ(ExportSensorRecords(db_, 2, Out("all.txt")).status,
              RecordExportResult::Status::Written);
    ASSERT_EQ(ExportSensorRecords(db_, 2, Out("part.txt"),
                                  RecordRange::Between(first + 5 * 300, first + 9 * 300 - 1))
                  .status,
              RecordExportResult::Status::Written);
    const QList<QByteArray> all = ReadAll(Out("all.txt")).split('\n');
    const QList<QByteArray> part = ReadAll(Out("part.txt")).split('\n');
    ASSERT_EQ(all.size(), 50 + 3);  // header, rows, empty line, after the last \n
    EXPECT_EQ(part, all.mid(0, 1) + all.mid(1 + 5, 4) + all.mid(all.size() - 2));
}

struct CommandRun {
    int code = -1;
    QString out;
    QString err;
};

// Runs the export command (either form) with its output kept.
template <typename... Args>
CommandRun RunExport(const QString& dataDir, const Args&... args) {
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.code = RunRecordExportCommand(dataDir, args..., out, err);
    out.flush();
    err.flush();
    return run;
}

TEST_F(RecordExportTest, CommandWritesTheRangeOrSaysItIsEmpty) {
    WriteThreeRows(db_);
    db_.Close();
    const struct {
        const char* name;
        RecordRange range;
        bool csv;
        int code;
        qsizetype lines;  // with the header; text files end with an empty line
    } cases[] = {
        {"csv, all", RecordRange::All(), true, kExportExitOk, 4},
        {"csv, one second", RecordRange::Between(1714523415000, 1714523415999), true, kExportExitOk,
         3},
        {"text, to .005", RecordRange::Between(0, 1714523415005), false, kExportExitOk, 3},
        {"csv, nothing", RecordRange::Between(0, 1000), true, kExportExitEmpty, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir out;
        RecordExportRequest request;
        request.sensor = 4;
        request.outPath = out.path();  // a folder: the usual name inside it
        request.range = c.range;
        request.csv = c.csv;
        const CommandRun run = RunExport(dataDir_.path(), request);
        EXPECT_EQ(run.code, c.code);
        const QStringList files = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
        if (c.code != kExportExitOk) {
            EXPECT_TRUE(files.isEmpty());
            EXPECT_TRUE(run.err.contains("no row in the given range")) << run.err.toStdString();
            continue;
        }
        ASSERT_EQ(files.size(), 1);
        EXPECT_TRUE(files[0].endsWith(c.csv ? ".csv" : ".txt")) << files[0].toStdString();
        EXPECT_TRUE(files[0].startsWith("传感器4数据"));
        EXPECT_EQ(run.out.trimmed(), QDir(out.path()).absoluteFilePath(files[0]));
        const QByteArray text = ReadAll(QDir(out.path()).filePath(files[0]));
        EXPECT_EQ(text.count("\r\n"), c.lines + (c.csv ? 0 : 1));
    }
}

TEST_F(RecordExportTest, CommandPrintsWhereTheFileWent) {
    WriteThreeRows(db_);
    const QString file = Out("slot4.txt");
    CommandRun run = RunExport(dataDir_.path(), 4, file);
    EXPECT_EQ(run.code, kExportExitOk) << run.err.toStdString();
    EXPECT_EQ(run.out, file + "\n");
    EXPECT_TRUE(run.err.isEmpty());
    EXPECT_EQ(ReadAll(file), ExpectedThreeRowFile());

    // A folder gets the usual file name inside it.
    QTemporaryDir folder;
    run = RunExport(dataDir_.path(), 4, folder.path());
    ASSERT_EQ(run.code, kExportExitOk) << run.err.toStdString();
    const QStringList made = QDir(folder.path()).entryList(QDir::Files);
    ASSERT_EQ(made.size(), 1);
    EXPECT_TRUE(made[0].startsWith("传感器4数据")) << made[0].toStdString();
    EXPECT_TRUE(made[0].endsWith("秒.txt"));
    EXPECT_EQ(run.out, folder.filePath(made[0]) + "\n");
    EXPECT_EQ(ReadAll(folder.filePath(made[0])), ExpectedThreeRowFile());

    // The machine's name from the data folder's Config.ini, the content as before.
    INIFILE config(ConfigPath(dataDir_.path()));
    ASSERT_TRUE(config.WriteString("SENSOR", "ID4NAME", QStringLiteral("P-104")));
    QTemporaryDir named;
    run = RunExport(dataDir_.path(), 4, named.path());
    ASSERT_EQ(run.code, kExportExitOk) << run.err.toStdString();
    const QStringList namedFiles = QDir(named.path()).entryList(QDir::Files);
    ASSERT_EQ(namedFiles.size(), 1);
    EXPECT_TRUE(namedFiles[0].endsWith("秒_P-104.txt")) << namedFiles[0].toStdString();
    EXPECT_EQ(ReadAll(named.filePath(namedFiles[0])), ExpectedThreeRowFile());
}

TEST_F(RecordExportTest, CommandFailsWithAReasonAndNoFile) {
    QTemporaryDir noDatabase;
    const QString file = Out("slot.txt");
    struct Case {
        const char* name;
        QString dataDir;
        int sensor;
        QString out;
        int code;
    };
    const Case cases[] = {
        {"empty table", dataDir_.path(), 1, file, kExportExitEmpty},
        {"no database file", noDatabase.path(), 1, file, kExportExitFailed},
        {"sensor 0", dataDir_.path(), 0, file, kExportExitBadSensor},
        {"sensor 7", dataDir_.path(), 7, file, kExportExitBadSensor},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ::testing::internal::CaptureStderr();
        const CommandRun run = RunExport(c.dataDir, c.sensor, c.out);
        ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(run.code, c.code);
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.startsWith("record export: ")) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(file));
    }
    // Asking for an export never creates a database.
    EXPECT_FALSE(QFile::exists(RecordDatabase::PathIn(noDatabase.path())));

    WriteThreeRows(db_);
    const CommandRun run = RunExport(dataDir_.path(), 1, Out("missing/x.txt"));
    EXPECT_EQ(run.code, kExportExitFailed);
    EXPECT_TRUE(run.err.contains("missing")) << run.err.toStdString();
}

TEST(HeadlessRecorderTest, WritesRowsAsThePageDoesAndRefusesForeignFiles) {
    QTemporaryDir dir;
    {
        HeadlessRecorder recorder;
        QString error;
        ASSERT_TRUE(recorder.Open(dir.path(), &error)) << error.toStdString();
        RecordRow row = PatternRow(1714523415, 7, 0);
        row.sensors[0].T_Shell = 25.26f;
        ASSERT_TRUE(recorder.Write(row));
        ASSERT_TRUE(recorder.Write(PatternRow(1714523416, 8, 1)));
        EXPECT_EQ(recorder.RowsWritten(), 2);
        EXPECT_EQ(recorder.WritesFailed(), 0);
    }
    EXPECT_EQ(RawRowCount(RecordDatabase::PathIn(dir.path())), 2);
    const QVariant temp1 = test::RawExec(RecordDatabase::PathIn(dir.path()),
                                         "SELECT Temp1 FROM data ORDER BY Time LIMIT 1");
    ASSERT_TRUE(temp1.isValid());
    EXPECT_DOUBLE_EQ(temp1.toDouble(), 25.3);

    QTemporaryDir foreign;
    QFile junk(RecordDatabase::PathIn(foreign.path()));
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(2048, 'z'));
    junk.close();
    HeadlessRecorder recorder;
    QString error;
    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(recorder.Open(foreign.path(), &error));
    EXPECT_FALSE(recorder.Write(PatternRow(1, 0, 0)));
    ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(error.contains("错误编号:")) << error.toStdString();
    EXPECT_EQ(recorder.WritesFailed(), 1);
}

}  // namespace
}  // namespace orsan
