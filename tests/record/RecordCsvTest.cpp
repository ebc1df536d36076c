#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>
#include <vector>

#include "RecordCommand.h"
#include "RecordCsvExport.h"
#include "RecordDatabase.h"
#include "RecordExport.h"
#include "RecordTestSupport.h"

namespace orsan {
namespace {

using test::FillRows;
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

class RecordCsvTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dataDir_.isValid());
        ASSERT_TRUE(outDir_.isValid());
        ASSERT_TRUE(db_.Open(dataDir_.path()));
    }
    QString Out(const char* name) const { return outDir_.filePath(QString::fromUtf8(name)); }

    QTemporaryDir dataDir_;
    QTemporaryDir outDir_;
    RecordDatabase db_;
};

TEST_F(RecordCsvTest, ThreeRowsOfSlotFourByteForByte) {
    WriteThreeRows(db_);
    const RecordExportResult result = ExportSensorCsv(db_, 4, RecordRange::All(), Out("a.csv"));
    ASSERT_EQ(result.status, RecordExportResult::Status::Written) << result.error.toStdString();
    EXPECT_EQ(result.rows, 3);
    // Stored values (rounded on insert) in curve order; time 8 h east of UTC.
    EXPECT_EQ(ReadAll(Out("a.csv")),
              QByteArray("time,T_Shell,Acc_X,Acc_Y,Acc_Z,Vel_X,Vel_Y,Vel_Z,Disp_X,Disp_Y,Disp_Z\r\n"
                         "2024-05-01T08:30:14.999+08:00,30,1,4,7,2,5,8,3,6,9\r\n"
                         "2024-05-01T08:30:15.007+08:00,25.3,0.12,120,1,3.46,0.05,100,12,7.8,"
                         "1234.6\r\n"
                         "2024-05-01T08:30:15.003+08:00,-5,0,2.2,0.01,0.5,10,7,0,1,88\r\n"));
    EXPECT_EQ(QDir(outDir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.csv"});
}

TEST_F(RecordCsvTest, NullAndForeignTextStayVisible) {
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

TEST_F(RecordCsvTest, EmptyRangeAndBadInputMakeNoFile) {
    WriteThreeRows(db_);
    EXPECT_EQ(ExportSensorCsv(db_, 4, RecordRange::Between(0, 1000), Out("c.csv")).status,
              RecordExportResult::Status::Empty);
    const RecordExportResult badSensor = ExportSensorCsv(db_, 0, RecordRange::All(), Out("c.csv"));
    EXPECT_EQ(badSensor.status, RecordExportResult::Status::Failed);
    EXPECT_FALSE(badSensor.error.isEmpty());
    const RecordExportResult badFolder =
        ExportSensorCsv(db_, 4, RecordRange::All(), Out("missing/c.csv"));
    EXPECT_EQ(badFolder.status, RecordExportResult::Status::Failed);
    EXPECT_TRUE(badFolder.error.contains("missing")) << badFolder.error.toStdString();
    EXPECT_TRUE(QDir(outDir_.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The CSV read back against a direct query of the same file: the same rows,
// the same instants, the same values.
TEST_F(RecordCsvTest, RangeMatchesADirectQuery) {
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
TEST_F(RecordCsvTest, TextExportOfARangeIsASliceOfTheWholeOne) {
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

TEST_F(RecordCsvTest, CommandWritesTheRangeOrSaysItIsEmpty) {
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
        QString printed;
        QString errors;
        QTextStream outStream(&printed);
        QTextStream errStream(&errors);
        EXPECT_EQ(RunRecordExportCommand(dataDir_.path(), request, outStream, errStream), c.code);
        const QStringList files = QDir(out.path()).entryList(QDir::Files | QDir::Hidden);
        if (c.code != kExportExitOk) {
            EXPECT_TRUE(files.isEmpty());
            EXPECT_TRUE(errors.contains("no row in the given range")) << errors.toStdString();
            continue;
        }
        ASSERT_EQ(files.size(), 1);
        EXPECT_TRUE(files[0].endsWith(c.csv ? ".csv" : ".txt")) << files[0].toStdString();
        EXPECT_TRUE(files[0].startsWith("传感器4数据"));
        EXPECT_EQ(printed.trimmed(), QDir(out.path()).absoluteFilePath(files[0]));
        const QByteArray text = ReadAll(QDir(out.path()).filePath(files[0]));
        EXPECT_EQ(text.count("\r\n"), c.lines + (c.csv ? 0 : 1));
    }
}

}  // namespace
}  // namespace orsan
