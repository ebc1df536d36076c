#include <gtest/gtest.h>

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <utility>

#include "TrendLabels.h"

namespace orsan {
namespace {

QStringList Labels(float lower, float upper) {
    QStringList list;
    for (const QString& s : AxisLabelTexts(lower, upper)) list << s;
    return list;
}

TEST(AxisLabels, DefaultPanelLimits) {
    const std::pair<float, const char*> rows[] = {
        {80, "0 8.0 16.0 24.0 32.0 40.0 48.0 56.0 64.0 72.0 80.0"},
        {10, "0 1.00 2.00 3.00 4.00 5.00 6.00 7.00 8.00 9.00 10.00"},
        {20, "0 2.0 4.0 6.0 8.0 10.0 12.0 14.0 16.0 18.0 20.0"},
        {50, "0 5.0 10.0 15.0 20.0 25.0 30.0 35.0 40.0 45.0 50.0"},
    };
    for (const auto& [upper, joined] : rows)
        EXPECT_EQ(Labels(0, upper).join(' '), QString::fromLatin1(joined)) << upper;
}

TEST(AxisLabels, FormatChosenByStepAtItsBoundaries) {
    struct Row {
        float lower, upper;
        const char* third;  // label j = 2
        const char* last;
    } rows[] = {
        {0, 100, "20.0", "100.0"},      // step exactly 10: "%1.1f"
        {0, 101, "20", "101"},          // step 10.1: "%1.0f"
        {0, 10, "2.00", "10.00"},       // step exactly 1: "%1.2f"
        {0, 10.5f, "2.1", "10.5"},      // step 1.05: "%1.1f"
        {0, 0.2f, "0.04", "0.20"},      // step 0.02: "%1.2f"
        {0, 0.1f, "0.020", "0.100"},    // step 0.01: "%1.3f"
        {-100, -50, "-90.0", "-50.0"},  // negative values, |step| 5
        {50, 30, "46.0", "30.0"},       // upside down, |step| 2
    };
    for (const Row& r : rows) {
        const QStringList l = Labels(r.lower, r.upper);
        EXPECT_EQ(l[2], QString::fromLatin1(r.third)) << r.lower << ".." << r.upper;
        EXPECT_EQ(l[10], QString::fromLatin1(r.last)) << r.lower << ".." << r.upper;
    }
}

TEST(AxisLabels, ZeroIsBareAndEqualLimitsRepeat) {
    const QStringList symmetric = Labels(-0.5f, 0.5f);
    EXPECT_EQ(symmetric[0], QStringLiteral("-0.50"));
    EXPECT_EQ(symmetric[5], QStringLiteral("0"));  // never "-0.00" or "0.00"
    EXPECT_EQ(symmetric[6], QStringLiteral("0.10"));
    EXPECT_EQ(AxisLabelText(0.000009f, 5), QStringLiteral("0"));
    EXPECT_EQ(AxisLabelText(-0.000009f, 0.001f), QStringLiteral("0"));
    EXPECT_EQ(AxisLabelText(0.00002f, 0.001f), QStringLiteral("0.000"));
    const QStringList equal = Labels(50, 50);
    for (const QString& s : equal) EXPECT_EQ(s, QStringLiteral("50.000"));
}

TEST(TimeAndReadoutTexts, LocalTimeWithTwoLineLabelsAndMilliseconds) {
    const int32_t t =
        static_cast<int32_t>(QDateTime(QDate(2024, 5, 1), QTime(8, 30, 15)).toSecsSinceEpoch());
    EXPECT_EQ(TimeLabelText(t), QStringLiteral("2024-05-01\r\n08:30:15"));

    SensorSample s;
    s.time = t;
    s.milliseconds = 7;
    s.T_Shell = 25.346f;
    s.Acc_X = 1.005f;
    s.Acc_Y = -0.5f;
    s.Acc_Z = 10;
    s.Vel_X = 2.25f;
    s.Vel_Y = 0;
    s.Vel_Z = 3.999f;
    s.Disp_X = 12.6f;
    s.Disp_Y = 12.4f;
    s.Disp_Z = 0;
    const QStringList lines = ReadoutLines(s);
    const QStringList expected = {QStringLiteral("2024-05-01 08:30:15.007"),
                                  QStringLiteral("T_Shell = 25.35 ℃"),
                                  QStringLiteral("Acc_X = 1.00 m/ss"),
                                  QStringLiteral("Acc_Y = -0.50 m/ss"),
                                  QStringLiteral("Acc_Z = 10.00 m/ss"),
                                  QStringLiteral("Vel_X = 2.25 mm/s"),
                                  QStringLiteral("Vel_Y = 0.00 mm/s"),
                                  QStringLiteral("Vel_Z = 4.00 mm/s"),
                                  QStringLiteral("Disp_X = 13 um"),
                                  QStringLiteral("Disp_Y = 12 um"),
                                  QStringLiteral("Disp_Z = 0 um")};
    EXPECT_EQ(lines, expected);
}

}  // namespace
}  // namespace orsan
