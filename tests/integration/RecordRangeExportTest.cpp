#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <chrono>
#include <vector>

#include "ChildProcess.h"
#include "SimProcess.h"
#include "SimStationConfig.h"
#include "TempDir.h"

namespace orsan {
namespace {

using namespace std::chrono_literals;

struct Row {
    qint64 ms = 0;
    std::vector<double> values;  // T_Shell, Acc_X/Y/Z, Vel_X/Y/Z, Disp_X/Y/Z
};

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Iso(qint64 ms) {
    return QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
}

// A record made by the headless recorder from the simulator, exported
// through the command line, against a direct query of the same file.
class RecordRangeExportTest : public ::testing::Test {
protected:
    test::TempDir dataDir{"orsan-range-export"};
    test::SimProcess sim{{"--sensor", "127.0.0.1:0", "--wave-port", "0"}};

    QString DataDir() const { return QString::fromStdString(dataDir.Path().string()); }

    void SetUp() override {
        ASSERT_TRUE(test::WriteSimStationConfig(DataDir(), sim, 1, "0.3"));
        test::ChildProcess station(
            test::StationPath(),
            {"--headless", "--record", "--data-dir", dataDir.Path().string(), "--duration", "4"});
        ASSERT_EQ(station.WaitExit(60s), std::optional<int>(0));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "direct");
        db.setDatabaseName(DataDir() + "/DataRecord.db");
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(
            query.exec("SELECT Time*1000+msTime,Temp1,Xacc1,Yacc1,Zacc1,Xvel1,Yvel1,Zvel1,"
                       "Xdisp1,Ydisp1,Zdisp1 FROM data ORDER BY Time, rowid"));
        while (query.next()) {
            Row row;
            row.ms = query.value(0).toLongLong();
            for (int c = 1; c <= 10; ++c) row.values.push_back(query.value(c).toDouble());
            rows.push_back(row);
        }
        query.finish();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("direct");
        ASSERT_GE(rows.size(), 6u);
    }

    // Runs the export; the exit code.
    int Export(std::vector<std::string> args) {
        std::vector<std::string> all = {"--export-sensor", "1", "--data-dir",
                                        dataDir.Path().string()};
        all.insert(all.end(), args.begin(), args.end());
        test::ChildProcess station(test::StationPath(), all);
        return station.WaitExit(60s).value_or(-1);
    }
    std::string Out(const char* name) const { return (dataDir.Path() / name).string(); }

    std::vector<Row> rows;
};

TEST_F(RecordRangeExportTest, CsvOfARangeMatchesTheDatabase) {
    const qint64 from = rows[1].ms;
    const qint64 to = rows[rows.size() - 2].ms;
    ASSERT_EQ(Export({"--from", Iso(from).toStdString(), "--to", Iso(to).toStdString(), "--format",
                      "csv", "--out", Out("range.csv")}),
              0);
    QList<QByteArray> lines = ReadFile(QString::fromStdString(Out("range.csv"))).split('\n');
    ASSERT_EQ(lines.takeFirst(),
              "time,T_Shell,Acc_X,Acc_Y,Acc_Z,Vel_X,Vel_Y,Vel_Z,Disp_X,Disp_Y,Disp_Z\r");
    ASSERT_EQ(lines.takeLast(), "");
    ASSERT_EQ(size_t(lines.size()), rows.size() - 2);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const Row& row = rows[size_t(i) + 1];
        ASSERT_TRUE(lines[i].endsWith('\r'));
        const QList<QByteArray> fields = lines[i].chopped(1).split(',');
        ASSERT_EQ(fields.size(), 11);
        const QDateTime time =
            QDateTime::fromString(QString::fromLatin1(fields[0]), Qt::ISODateWithMs);
        EXPECT_EQ(time.toMSecsSinceEpoch(), row.ms) << fields[0].constData();
        EXPECT_EQ(fields[0].size(), qsizetype(29)) << "yyyy-MM-ddTHH:mm:ss.zzz+hh:mm";
        for (int c = 0; c < 10; ++c) EXPECT_EQ(fields[c + 1].toDouble(), row.values[size_t(c)]);
    }
}

TEST_F(RecordRangeExportTest, TextExportWithoutARangeIsTheWholeRecord) {
    ASSERT_EQ(Export({"--out", Out("all.txt")}), 0);
    // A range around every row takes the range path: the same bytes.
    ASSERT_EQ(Export({"--from", Iso(rows.front().ms - 1000).toStdString(), "--to",
                      Iso(rows.back().ms + 1000).toStdString(), "--out", Out("wide.txt")}),
              0);
    const QByteArray all = ReadFile(QString::fromStdString(Out("all.txt")));
    EXPECT_EQ(all.count("\r\n"), qsizetype(rows.size()) + 2);  // header, rows, closing line
    EXPECT_EQ(ReadFile(QString::fromStdString(Out("wide.txt"))), all);
    // A range before the first row: nothing written, its own exit code.
    EXPECT_EQ(Export({"--to", Iso(rows.front().ms - 1).toStdString(), "--out", Out("none.txt")}),
              3);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Out("none.txt"))));
}

}  // namespace
}  // namespace orsan
