#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <csignal>

#include "RecordColumns.h"
#include "RecordCommand.h"
#include "RecordDatabase.h"
#include "RecordExport.h"
#include "RecordTestSupport.h"

namespace orsan {
namespace {

using test::ExpectedThreeRowFile;
using test::PatternRow;
using test::ReadAll;
using test::RawRowCount;
using test::WriteThreeRows;

class RecordExportTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dataDir_.isValid());
        ASSERT_TRUE(outDir_.isValid());
        ASSERT_TRUE(db_.Open(dataDir_.path()));
    }

    QTemporaryDir dataDir_;
    QTemporaryDir outDir_;
    RecordDatabase db_;
};

TEST_F(RecordExportTest, ThreeRowsOfSlotFourByteForByte) {
    WriteThreeRows(db_);
    const QString path = outDir_.filePath("out.txt");
    const RecordExportResult result = ExportSensorRecords(db_, 4, path);
    ASSERT_EQ(result.status, RecordExportResult::Status::Written) << result.error.toStdString();
    EXPECT_EQ(result.rows, 3);
    EXPECT_EQ(ReadAll(path), ExpectedThreeRowFile());
    EXPECT_EQ(QDir(outDir_.path()).entryList(QDir::Files), QStringList{"out.txt"});
}

TEST_F(RecordExportTest, EmptyTableMakesNoFileAndKeepsAnOlderOne) {
    const QString path = outDir_.filePath("out.txt");
    EXPECT_EQ(ExportSensorRecords(db_, 1, path).status, RecordExportResult::Status::Empty);
    EXPECT_TRUE(QDir(outDir_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(RecordExportTest, FailuresLeaveNoFileAndSayWhy) {
    WriteThreeRows(db_);
    struct Case {
        const char* name;
        int sensor;
        QString path;
        bool closeDatabase;
    };
    const Case cases[] = {
        {"missing folder", 2, outDir_.filePath("missing/out.txt"), false},
        {"sensor 0", 0, outDir_.filePath("out.txt"), false},
        {"sensor 7", 7, outDir_.filePath("out.txt"), false},
        {"database closed", 2, outDir_.filePath("out.txt"), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.closeDatabase) db_.Close();
        const RecordExportResult result = ExportSensorRecords(db_, c.sensor, c.path);
        EXPECT_EQ(result.status, RecordExportResult::Status::Failed);
        EXPECT_FALSE(result.error.isEmpty());
        EXPECT_TRUE(QDir(outDir_.path())
                        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                        .isEmpty());
    }
}

// The disk fills up in the middle of the file (played by the file size
// limit): the export fails and leaves nothing, not a truncated file.
TEST_F(RecordExportTest, DiskFullMidFileLeavesNoFile) {
    QSqlDatabase connection = db_.Connection();
    ASSERT_TRUE(connection.transaction());
    for (int i = 0; i < 20000; ++i) ASSERT_TRUE(db_.Insert(PatternRow(1700000000 + i, 0, i)));
    ASSERT_TRUE(connection.commit());

    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit full = old;
    full.rlim_cur = 1 << 20;  // the file would be 2.6 MB
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    const RecordExportResult result = ExportSensorRecords(db_, 2, outDir_.filePath("out.txt"));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result.status, RecordExportResult::Status::Failed);
    EXPECT_TRUE(result.error.contains("out.txt")) << result.error.toStdString();
    EXPECT_TRUE(QDir(outDir_.path())
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)
                    .isEmpty());
}

TEST_F(RecordExportTest, ExistingFileIsReplacedOnlyByACompleteExport) {
    const QString path = outDir_.filePath("out.txt");
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

struct CommandRun {
    int code = -1;
    QString out;
    QString err;
};

CommandRun RunExport(const QString& dataDir, int sensor, const QString& outPath) {
    CommandRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.code = RunRecordExportCommand(dataDir, sensor, outPath, out, err);
    out.flush();
    err.flush();
    return run;
}

TEST_F(RecordExportTest, CommandPrintsWhereTheFileWent) {
    WriteThreeRows(db_);
    const QString file = outDir_.filePath("slot4.txt");
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
}

TEST_F(RecordExportTest, CommandFailsWithAReasonAndNoFile) {
    QTemporaryDir noDatabase;
    const QString file = outDir_.filePath("slot.txt");
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
    const CommandRun run = RunExport(dataDir_.path(), 1, outDir_.filePath("missing/x.txt"));
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
    test::WithRawConnection(RecordDatabase::PathIn(dir.path()), [](QSqlDatabase& raw) {
        QSqlQuery query(raw);
        ASSERT_TRUE(query.exec("SELECT Temp1 FROM data ORDER BY Time LIMIT 1"));
        ASSERT_TRUE(query.next());
        EXPECT_DOUBLE_EQ(query.value(0).toDouble(), 25.3);
    });

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
