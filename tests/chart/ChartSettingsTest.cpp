#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ChartSettings.h"
#include "FileText.h"

namespace orsan {
namespace {

class ChartSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        ini_.SetPath(dir_.filePath(QStringLiteral("Chart.ini")));
    }
    void WriteFile(const QByteArray& text) { test::WriteFile(ini_.Path(), text); }
    QTemporaryDir dir_;
    INIFILE ini_;
};

TEST_F(ChartSettingsTest, MissingFileGivesDefaultsAndIsNotCreated) {
    for (int slot = 1; slot <= 6; ++slot) {
        const ChartSettings s = LoadChartSettings(ini_, slot);
        EXPECT_EQ(s.limits, (TrendLimits{0, 80, 10, 20, 50}));
        // T_Shell and the three velocities.
        EXPECT_EQ(s.showFlags, (std::array<int, 10>{1, 0, 0, 0, 1, 1, 1, 0, 0, 0}));
    }
    EXPECT_FALSE(QFile::exists(ini_.Path()));
}

TEST_F(ChartSettingsTest, ReadsOwnSectionWithLeadingNumbersAndAnyNonzeroFlag) {
    WriteFile(
        "[CH1]\r\nTMin=5\r\n"
        "[CH3]\r\nTMin=-12.5\r\nTMax=100abc\r\nAMax=x\r\nVMax= 1e2\r\nDMax=3.75\r\n"
        "SHOW0=2\r\nSHOW1=1\r\nSHOW2=0\r\nSHOW3=yes\r\nSHOW4=\r\nSHOW5=0\r\nSHOW9=-1\r\n");
    const ChartSettings s = LoadChartSettings(ini_, 3);
    EXPECT_EQ(s.limits, (TrendLimits{-12.5f, 100, 0, 100, 3.75f}));
    // A key present keeps its value, even empty; only SHOW6 of the shown
    // ones is missing.
    EXPECT_EQ(s.showFlags, (std::array<int, 10>{2, 1, 0, 0, 0, 0, 1, 0, 0, -1}));
    // The neighbour's key does not leak; missing keys keep their defaults.
    EXPECT_EQ(LoadChartSettings(ini_, 2).limits.TMin, 0.0f);
    EXPECT_EQ(LoadChartSettings(ini_, 1).limits, (TrendLimits{5, 80, 10, 20, 50}));
}

TEST_F(ChartSettingsTest, HugeTextSaturatesInsteadOfBecomingInfinite) {
    WriteFile("[CH1]\r\nTMax=1e60\r\nTMin=-1e60\r\n");
    const ChartSettings s = LoadChartSettings(ini_, 1);
    EXPECT_TRUE(std::isfinite(s.limits.TMax));
    EXPECT_GT(s.limits.TMax, 1e38f);
    EXPECT_LT(s.limits.TMin, -1e38f);
}

TEST_F(ChartSettingsTest, SavesWithOneDecimalAndFlagsAsIntegersInOwnSectionOnly) {
    WriteFile("[CH1]\r\nTMin=7\r\n");
    ASSERT_TRUE(SaveChartLimits(ini_, 2, TrendLimits{-0.25f, 100, 12.34f, 20, 50}));
    std::array<int, 10> flags{};
    flags[0] = 1;
    flags[9] = 1;
    ASSERT_TRUE(SaveShowFlags(ini_, 2, flags));
    // printf rounds the exact tie -0.25 to even.
    EXPECT_EQ(ini_.GetString("CH2", "TMin", "?"), QStringLiteral("-0.2"));
    EXPECT_EQ(ini_.GetString("CH2", "TMax", "?"), QStringLiteral("100.0"));
    EXPECT_EQ(ini_.GetString("CH2", "AMax", "?"), QStringLiteral("12.3"));
    EXPECT_EQ(ini_.GetString("CH2", "SHOW0", "?"), QStringLiteral("1"));
    EXPECT_EQ(ini_.GetString("CH2", "SHOW5", "?"), QStringLiteral("0"));
    EXPECT_EQ(ini_.GetString("CH1", "TMin", "?"), QStringLiteral("7"));
    EXPECT_EQ(ini_.GetString("CH1", "TMax", "?"), QStringLiteral("?"));
    // What was saved loads back (rounded to one decimal).
    const ChartSettings back = LoadChartSettings(ini_, 2);
    EXPECT_EQ(back.limits, (TrendLimits{-0.2f, 100, 12.3f, 20, 50}));
    EXPECT_EQ(back.showFlags, flags);
    // Keys in the order TMin, TMax, AMax, VMax, DMax, then SHOW0..SHOW9.
    const QByteArray text = test::ReadAll(ini_.Path());
    const int section = text.indexOf("[CH2]");
    ASSERT_GE(section, 0);
    int last = section;
    for (const char* key : {"TMin=", "TMax=", "AMax=", "VMax=", "DMax=", "SHOW0=", "SHOW9="}) {
        const int at = text.indexOf(key, section);
        EXPECT_GT(at, last) << key;
        last = at;
    }
}

TEST(LimitText, GeneralNotationAndStrictParsing) {
    EXPECT_EQ(LimitText(80), QStringLiteral("80"));
    EXPECT_EQ(LimitText(0.5f), QStringLiteral("0.5"));
    EXPECT_EQ(LimitText(-12.25f), QStringLiteral("-12.25"));
    EXPECT_EQ(LimitText(1234567), QStringLiteral("1.23457e+06"));

    struct Row {
        const char* text;
        bool ok;
        float value;
    } rows[] = {
        {"100", true, 100},  {" 2.5 ", true, 2.5f}, {"-0.5", true, -0.5f}, {"1e2", true, 100},
        {"+7", true, 7},     {"", false, 0},        {"  ", false, 0},      {"abc", false, 0},
        {"12abc", false, 0}, {"1,5", false, 0},     {"inf", false, 0},     {"nan", false, 0},
        {"1e39", false, 0},  {"--1", false, 0},     {"1 2", false, 0},     {"0x10", false, 0},
    };
    for (const Row& r : rows) {
        float value = -999;
        EXPECT_EQ(ParseLimitText(QString::fromLatin1(r.text), &value), r.ok) << r.text;
        if (r.ok)
            EXPECT_EQ(value, r.value) << r.text;
        else
            EXPECT_EQ(value, -999) << "untouched on refusal: " << r.text;
    }
}

}  // namespace
}  // namespace orsan
