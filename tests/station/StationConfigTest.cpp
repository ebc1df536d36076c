#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "SensorDataFile.h"
#include "SensorEndpoint.h"
#include "StationConfig.h"

namespace orsan {
namespace {

class StationConfigTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    INIFILE config{ConfigPath(dir.path())};

    StationConfig LoadWithInterval(const QString& text) {
        EXPECT_TRUE(config.WriteString("DAQ", "INTERVAL", text));
        return LoadStationConfig(config);
    }
};

TEST_F(StationConfigTest, FreshInstallationUsesDefaults) {
    const StationConfig loaded = LoadStationConfig(config);
    EXPECT_EQ(loaded.interval, 0.3f);
    EXPECT_EQ(loaded.intervalWholeSeconds, 0);
    for (int i = 0; i < kSensorCount; ++i) {
        EXPECT_EQ(loaded.addresses[i], 0u);
        EXPECT_EQ(loaded.ports[i], 502);
    }
    EXPECT_FALSE(QFile::exists(config.Path()));  // loading never writes
}

TEST_F(StationConfigTest, IntervalIsClampedAtLoad) {
    struct Case {
        const char* text;
        float interval;
        int whole;
    };
    const Case cases[] = {
        {"5000", 1800.0f, 1800}, {"0.1", 0.3f, 0},         {"2.5", 2.5f, 2},
        {"0.3", 0.3f, 0},        {"garbage", 0.3f, 0},     {"-4", 0.3f, 0},
        {"1800", 1800.0f, 1800}, {"1e400", 1800.0f, 1800}, {"nan", 0.3f, 0},
        {"1e-400", 0.3f, 0},     {"0x10", 16.0f, 16},
    };
    for (const Case& c : cases) {
        const StationConfig loaded = LoadWithInterval(c.text);
        EXPECT_EQ(loaded.interval, c.interval) << c.text;
        EXPECT_EQ(loaded.intervalWholeSeconds, c.whole) << c.text;
    }
}

TEST_F(StationConfigTest, OctetsKeepTheirLowEightBitsAndOptionalPortsDefaultTo502) {
    config.WriteInt("SENSOR", "ID2IP1", 192);
    config.WriteInt("SENSOR", "ID2IP2", 168);
    config.WriteInt("SENSOR", "ID2IP3", 256);  // -> 0
    config.WriteInt("SENSOR", "ID2IP4", 300);  // -> 44
    config.WriteString("SENSOR", "ID3IP1", "junk");
    config.WriteInt("SENSOR", "ID1PORT", 15020);
    config.WriteInt("SENSOR", "ID2PORT", 70000);
    config.WriteString("SENSOR", "ID3PORT", "x");
    const StationConfig loaded = LoadStationConfig(config);
    EXPECT_EQ(loaded.addresses[1], MakeAddress(192, 168, 0, 44));
    EXPECT_EQ(loaded.addresses[2], 0u);
    EXPECT_EQ(loaded.ports[0], 15020);
    EXPECT_EQ(loaded.ports[1], 502);
    EXPECT_EQ(loaded.ports[2], 502);
}

TEST_F(StationConfigTest, SavedAddressesAndIntervalReadBack) {
    std::array<uint32_t, kSensorCount> addresses{};
    addresses[0] = MakeAddress(192, 168, 1, 10);
    addresses[5] = MakeAddress(127, 0, 0, 6);
    ASSERT_TRUE(SaveAddresses(config, addresses));
    ASSERT_TRUE(SaveInterval(config, 12.0f));
    EXPECT_EQ(config.GetString("DAQ", "INTERVAL", ""), "12.0");
    EXPECT_EQ(config.GetString("SENSOR", "ID1IP4", ""), "10");
    const StationConfig loaded = LoadStationConfig(config);
    EXPECT_EQ(loaded.addresses, addresses);
    EXPECT_EQ(loaded.interval, 12.0f);
    ASSERT_TRUE(SaveInterval(config, 1800.0f));
    EXPECT_EQ(config.GetString("DAQ", "INTERVAL", ""), "1800.0");
}

// A missing or blank key keeps every row; anything but a whole number of
// days within bounds is refused with a message naming the value.
TEST_F(StationConfigTest, KeepDaysIsAWholeNumberOrRefused) {
    const std::pair<const char*, std::optional<int>> cases[] = {
        {"", 0},    {" 7 ", 7},    {"36500", 36500},    {"-1", {}}, {"7.5", {}},
        {"7d", {}}, {"36501", {}}, {"99999999999", {}}, {"+7", {}}};
    EXPECT_EQ(LoadKeepDays(config, nullptr), 0) << "no key";
    for (const auto& [text, days] : cases) {
        ASSERT_TRUE(config.WriteString("DAQ", "KEEP_DAYS", text));
        QString error;
        EXPECT_EQ(LoadKeepDays(config, &error), days) << text;
        EXPECT_EQ(error.contains(QStringLiteral("KEEP_DAYS=%1 ").arg(text)), !days) << text;
    }
}

TEST(IntervalRules, UserIntervalBounds) {
    EXPECT_FALSE(IsAcceptableInterval(0.9999f));
    EXPECT_FALSE(IsAcceptableInterval(0.99f));
    EXPECT_FALSE(IsAcceptableInterval(0.3f));
    EXPECT_TRUE(IsAcceptableInterval(1.0f));
    EXPECT_TRUE(IsAcceptableInterval(1800.0f));
    EXPECT_FALSE(IsAcceptableInterval(1800.5f));
    EXPECT_EQ(FormatInterval(2.5f), "2.5");
    EXPECT_EQ(FormatInterval(12.0f), "12.0");
}

TEST(Title, DefaultAndFromFile) {
    QTemporaryDir dir;
    INIFILE info(InfoPath(dir.path()));
    EXPECT_EQ(LoadTitle(info),
              QString::fromUtf8("网络版三轴振动温度智能传感器【ModbusTcp接口，端口502】 V1.8"));
    info.WriteString("TITLE", "NAME", QString::fromUtf8("一号泵站"));
    EXPECT_EQ(LoadTitle(info), QString::fromUtf8("一号泵站"));
    // The title alone keeps its 259 bytes: two per Chinese character, none split.
    info.WriteString("TITLE", "NAME", QString(300, QChar('a')));
    EXPECT_EQ(LoadTitle(info), QString(259, QChar('a')));
    info.WriteString("TITLE", "NAME", QString(200, QChar(0x4F20)));
    EXPECT_EQ(LoadTitle(info), QString(129, QChar(0x4F20)));
}

TEST_F(StationConfigTest, MachineNamesAreKeptWholeAndNameTheSensorWhereverItAppears) {
    const SensorNames saved = {"P-101 给水泵", "", "a=b; c %1", "  F-201  ", "", ""};
    ASSERT_TRUE(SaveSensorNames(config, saved));
    const SensorNames loaded = LoadStationConfig(config).names;
    EXPECT_EQ(loaded, (SensorNames{"P-101 给水泵", "", "a=b; c %1", "F-201", "", ""}));

    struct Case {
        int sensor;
        const char* name;
        const char* tab;
        const char* title;
        const char* fileSuffix;
        const char* json;
    };
    const Case cases[] = {
        // Unnamed: today's captions and file names, JSON null.
        {1, "", "传感器【1】", "传感器1", "", "null"},
        {3, "P-101", "3# P-101", "3# P-101", "_P-101", "\"P-101\""},
        {4, "%1泵", "4# %1泵", "4# %1泵", "_%1泵", "\"%1泵\""},
        {6, "a/b\\c:*?\"<>|", "6# a/b\\c:*?\"<>|", "6# a/b\\c:*?\"<>|", "_a_b_c_______",
         "\"a/b\\\\c:*?\\\"<>|\""},
        {2, "P\x7f\xc2\x85", "2# P\x7f\xc2\x85", "2# P\x7f\xc2\x85", "_P__", "\"P\x7f\xc2\x85\""},
    };
    for (const Case& c : cases) {
        const QString name = QString::fromUtf8(c.name);
        EXPECT_EQ(SensorTabCaption(c.sensor, name), QString::fromUtf8(c.tab)) << c.name;
        EXPECT_EQ(SensorTitle(c.sensor, name), QString::fromUtf8(c.title)) << c.name;
        EXPECT_EQ(FileNameSuffix(name), QString::fromUtf8(c.fileSuffix)) << c.name;
        EXPECT_EQ(JsonName(name), c.json) << c.name;
    }
}

// However long the name, an export's file name fits the file system: the
// name is cut on a character boundary and the part readers parse stays whole.
TEST(ExportFileNameTest, ALongNameIsCutToFitTheFileSystem) {
    const QDateTime now(QDate(2026, 12, 8), QTime(4, 5, 6));
    const QString shortName = SensorDataFileName(QStringLiteral("/d"), 1, now, QString());
    for (const QString& name : {QString(100, QChar(0x6CF5)), QString(300, QLatin1Char('a')),
                                QString::fromUtf8("泵").repeated(79) + QString::fromUtf8("😀x")}) {
        const QString path = SensorDataFileName(QStringLiteral("/d"), 1, now, name);
        const QString file = path.mid(3);
        EXPECT_LE(QFile::encodeName(file).size(), kMaxFileNameBytes) << file.toStdString();
        EXPECT_GT(QFile::encodeName(file).size(), kMaxFileNameBytes - 4) << file.toStdString();
        EXPECT_TRUE(path.startsWith(shortName.chopped(4) + QLatin1Char('_'))) << file.toStdString();
        EXPECT_TRUE(name.startsWith(file.mid(shortName.size() - 3).chopped(4)))
            << file.toStdString();
        EXPECT_TRUE(file.endsWith(QStringLiteral(".txt")));
    }
}

}  // namespace
}  // namespace orsan
