#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTime>

#include "FileText.h"
#include "SensorDataFile.h"

namespace orsan {
namespace {

int32_t LocalSeconds(int y, int mo, int d, int h, int mi, int s) {
    return static_cast<int32_t>(QDateTime(QDate(y, mo, d), QTime(h, mi, s)).toSecsSinceEpoch());
}

QByteArray Pad(const QByteArray& text, int width) {
    return text + QByteArray(std::max<int>(0, width - text.size()), ' ');
}

SensorSample MakeSample(int32_t time, uint16_t ms, std::array<float, 10> v) {
    SensorSample s;
    s.time = time;
    s.milliseconds = ms;
    s.T_Shell = v[0];
    s.Acc_X = v[1];
    s.Acc_Y = v[2];
    s.Acc_Z = v[3];
    s.Vel_X = v[4];
    s.Vel_Y = v[5];
    s.Vel_Z = v[6];
    s.Disp_X = v[7];
    s.Disp_Y = v[8];
    s.Disp_Z = v[9];
    return s;
}

using test::ReadAll;
using test::WriteFile;

TEST(SensorDataFormat, HeaderIsThirtyThenTenCharFieldsWithCrLf) {
    QByteArray expected = Pad("TimeStamp", 30);
    for (const char* n : {"Temp", "X_Acc", "X_Vel", "X_Disp", "Y_Acc", "Y_Vel", "Y_Disp", "Z_Acc",
                          "Z_Vel", "Z_Disp"})
        expected += Pad(n, 10);
    expected += "\r\n";
    EXPECT_EQ(SensorDataHeaderLine(), expected);
    EXPECT_EQ(SensorDataHeaderLine().size(), 30 + 100 + 2);
}

TEST(SensorDataFormat, ValuesInGeneralNotationWithSixSignificantDigits) {
    struct Row {
        float value;
        const char* text;
    } rows[] = {
        {23.4f, "23.4"},          {0.0f, "0"},           {120.0f, "120"},
        {0.05f, "0.05"},          {-3.25f, "-3.25"},     {-0.01f, "-0.01"},
        {123.456789f, "123.457"}, {99999.99f, "100000"}, {1234567.0f, "1.23457e+06"},
        {0.0001f, "0.0001"},      {25.3f, "25.3"},       {1.0f, "1"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(SensorDataValueText(row.value), QByteArray(row.text)) << row.text;
    }
}

TEST(SensorDataFormat, SampleLinesInFileColumnOrder) {
    // Columns: T_Shell, Acc_X, Vel_X, Disp_X, Acc_Y, Vel_Y, Disp_Y, Acc_Z, Vel_Z, Disp_Z.
    // -1.23457e+06 has 12 characters: written whole, the next field follows at once.
    const struct {
        SensorSample sample;
        QByteArray line;
    } rows[] = {
        {MakeSample(
             LocalSeconds(2024, 5, 1, 8, 30, 15), 7,
             {23.4f, 0.05f, -1.5f, 2.0f, 0.0f, 120.0f, 3.14159265f, 12.0f, 99.99f, 0.123456789f}),
         QByteArray("2024-05-01 08:30:15.007") + QByteArray(7, ' ') + Pad("23.4", 10) +
             Pad("0.05", 10) + Pad("0", 10) + Pad("12", 10) + Pad("-1.5", 10) + Pad("120", 10) +
             Pad("99.99", 10) + Pad("2", 10) + Pad("3.14159", 10) + Pad("0.123457", 10) + "\r\n"},
        {MakeSample(LocalSeconds(2024, 12, 31, 23, 59, 59), 999,
                    {-1234567.0f, 0, 0, 0, -0.000123f, 0, 0, 0, 0, 0}),
         QByteArray("2024-12-31 23:59:59.999") + QByteArray(7, ' ') +
             "-1.23457e+060         -0.000123 0         0         0         "
             "0         0         0         0         \r\n"},
    };
    for (const auto& r : rows) EXPECT_EQ(SensorDataLine(r.sample), r.line);
}

TEST(SensorDataFormat, LocalTimeFollowsTheZone) {
    // Midnight UTC is 08:00 in the test zone (UTC+8) and the time stamp
    // says so, with zero-padded milliseconds.
    SensorSample s;
    s.time = 0;
    s.milliseconds = 50;
    EXPECT_TRUE(SensorDataLine(s).startsWith("1970-01-01 08:00:00.050 "));
}

TEST(SensorDataFormat, FileNameCarriesSensorNumberAndLocalMoment) {
    const QDateTime now(QDate(2024, 5, 1), QTime(8, 30, 15, 999));
    EXPECT_EQ(SensorDataFileName(QStringLiteral("/home/op/Desktop"), 2, now),
              QStringLiteral("/home/op/Desktop/传感器2数据2024年05月01日08时30分15秒.txt"));
    EXPECT_EQ(SensorDataFileName(QStringLiteral("d"), 3, now.toUTC()),
              QStringLiteral("d/传感器3数据2024年05月01日08时30分15秒.txt"));
    // A machine's name follows the moment; a slash in it cannot make a folder.
    EXPECT_EQ(SensorDataFileName(QStringLiteral("d"), 3, now, QStringLiteral("P-101/A")),
              QStringLiteral("d/传感器3数据2024年05月01日08时30分15秒_P-101_A.txt"));
}

class SensorDataFileWriterTest : public ::testing::Test {
protected:
    QTemporaryDir dir_;
    QString Path(const QString& name) const { return dir_.filePath(name); }
};

TEST_F(SensorDataFileWriterTest, WholeFileIsHeaderLinesAndClosingEmptyLine) {
    ASSERT_TRUE(dir_.isValid());
    const int32_t t0 = LocalSeconds(2024, 5, 1, 8, 30, 15);
    const SensorSample samples[] = {
        MakeSample(t0, 7, {23.4f, 1, 2, 3, 4, 5, 6, 7, 8, 9}),
        MakeSample(t0 + 1, 307, {23.5f, 0.01f, 0.02f, 0.03f, 0.1f, 0.2f, 0.3f, 10, 20, 30}),
    };
    const QString path = Path(QStringLiteral("传感器1数据.txt"));
    QString error;
    ASSERT_TRUE(WriteSensorDataFile(path, samples, 2, &error)) << error.toStdString();
    EXPECT_TRUE(error.isEmpty());

    const QByteArray expected =
        SensorDataHeaderLine() +
        "2024-05-01 08:30:15.007       23.4      1         4         7         2         "
        "5         8         3         6         9         \r\n"
        "2024-05-01 08:30:16.307       23.5      0.01      0.1       10        0.02      "
        "0.2       20        0.03      0.3       30        \r\n"
        "\r\n";
    EXPECT_EQ(ReadAll(path), expected);
    EXPECT_TRUE(ReadAll(path).endsWith("\r\n\r\n"));
    // Nothing but the target is left in the folder.
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QFileInfo(path).fileName()});
}

TEST_F(SensorDataFileWriterTest, ReplacesAnExistingFile) {
    const QString path = Path(QStringLiteral("x.txt"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, QByteArray(5000, 'z')));
    QString error;
    ASSERT_TRUE(WriteSensorDataFile(path, nullptr, 0, &error));
    EXPECT_EQ(ReadAll(path), SensorDataHeaderLine() + "\r\n");
}

TEST_F(SensorDataFileWriterTest, UncommittedWriterLeavesNoFileAndKeepsTheOldOne) {
    const QString fresh = Path(QStringLiteral("fresh.txt"));
    const QString old = Path(QStringLiteral("old.txt"));
    ASSERT_NO_FATAL_FAILURE(WriteFile(old, "keep me"));
    {
        SensorDataFileWriter a;
        SensorDataFileWriter b;
        QString error;
        ASSERT_TRUE(a.Open(fresh, &error));
        ASSERT_TRUE(b.Open(old, &error));
        ASSERT_TRUE(a.Append(SensorSample{}, &error));
        ASSERT_TRUE(b.Append(SensorSample{}, &error));
    }
    EXPECT_FALSE(QFileInfo::exists(fresh));
    EXPECT_EQ(ReadAll(old), QByteArray("keep me"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files), QStringList{QStringLiteral("old.txt")});
}

TEST_F(SensorDataFileWriterTest, MissingFolderIsReportedWithFileName) {
    const QString path = Path(QStringLiteral("no/such/folder/d.txt"));
    SensorDataFileWriter writer;
    QString error;
    EXPECT_FALSE(writer.Open(path, &error));
    EXPECT_TRUE(error.contains(path)) << error.toStdString();
    EXPECT_GT(error.size(), path.size() + 3);  // a reason follows the name
    QString appendError;
    EXPECT_FALSE(writer.Append(SensorSample{}, &appendError));
    EXPECT_FALSE(appendError.isEmpty());
    EXPECT_FALSE(writer.Commit(&appendError));
    EXPECT_FALSE(QFileInfo::exists(path));
}

}  // namespace
}  // namespace orsan
