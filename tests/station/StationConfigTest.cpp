#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "ConfigCheck.h"
#include "SensorDataFile.h"
#include "SensorEndpoint.h"
#include "StationConfig.h"

namespace orsan {
namespace {

class StationConfigTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    INIFILE config{ConfigPath(dir.path())};

    void WriteRaw(const QByteArray& bytes) {
        QFile file(config.Path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

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

TEST_F(StationConfigTest, GoodIntervalsAndPortsAreTaken) {
    const std::pair<const char*, float> intervals[] = {
        {"0.3", 0.3f}, {"2.5", 2.5f}, {" 1800 ", 1800.0f}, {"1.", 1.0f}};
    for (const auto& [text, seconds] : intervals) {
        const StationConfig loaded = LoadWithInterval(text);
        EXPECT_EQ(loaded.interval, seconds) << text;
        EXPECT_EQ(loaded.intervalWholeSeconds, int(seconds)) << text;
    }
    config.WriteInt("SENSOR", "ID1PORT", 15020);
    config.WriteString("SENSOR", "ID2PORT", "+65535");
    EXPECT_EQ(LoadStationConfig(config).ports[0], 15020);
    EXPECT_EQ(LoadStationConfig(config).ports[1], 65535);
}

// A bad value is refused by name and keeps its default: never wrapped, never
// read up to the first odd character. A bad octet leaves the sensor unconfigured.
TEST_F(StationConfigTest, BadValuesAreRefusedByNameAndKeepTheirDefaults) {
    const std::array<const char*, 3> cases[] = {
        {"DAQ", "INTERVAL", "inf"},        {"DAQ", "INTERVAL", "1e308"},
        {"DAQ", "INTERVAL", "100000"},     {"DAQ", "INTERVAL", "-1"},
        {"DAQ", "INTERVAL", "0"},          {"DAQ", "INTERVAL", "abc"},
        {"DAQ", "INTERVAL", "nan"},        {"DAQ", "INTERVAL", ""},
        {"DAQ", "INTERVAL", "1,5"},        {"DAQ", "INTERVAL", "0x10"},
        {"DAQ", "INTERVAL", "0.1"},        {"SENSOR", "ID1PORT", "4294999297"},
        {"SENSOR", "ID1PORT", "32001abc"}, {"SENSOR", "ID1PORT", "-1"},
        {"SENSOR", "ID1PORT", "0"},        {"SENSOR", "ID1PORT", "70000"},
        {"SENSOR", "ID1PORT", "abc"},      {"SENSOR", "ID1IP4", "300"},
        {"SENSOR", "ID1IP4", "-1"},        {"SENSOR", "ID1IP4", "4294967303"},
        {"SENSOR", "ID1IP4", "7.5"},       {"DAQ", "RECORD", "2"},
    };
    for (const auto& [section, key, value] : cases) {
        SCOPED_TRACE(std::string(key) + "=" + value);
        QFile::remove(config.Path());
        for (int k = 1; k <= 3; ++k) config.WriteInt("SENSOR", OctetKey(1, k), k == 1 ? 127 : 0);
        config.WriteInt("SENSOR", "ID1IP4", 7);
        config.WriteString(section, key, value);
        const QStringList problems = StationConfigProblems(config);
        ASSERT_EQ(problems.size(), 1) << problems.join('\n').toStdString();
        EXPECT_TRUE(problems[0].startsWith(
            QStringLiteral("Config.ini [%1] %2=%3 ").arg(section, key, value)))
            << problems[0].toStdString();
        const StationConfig loaded = LoadStationConfig(config);
        EXPECT_EQ(loaded.interval, 0.3f);
        EXPECT_EQ(loaded.ports[0], 502);
        EXPECT_FALSE(loaded.recording);
        EXPECT_EQ(loaded.addresses[0], QString(key) == "ID1IP4" ? 0u : MakeAddress(127, 0, 0, 7));
    }
}

// Every key the station reads is known, in any case; anything else is named.
TEST_F(StationConfigTest, UnknownSectionsAndKeysAreNamed) {
    WriteRaw(
        "[daq]\nINTERVAL=1.0\nRECORD=1\nKEEP_DAYS=30\nREPORT_DIR=r\nTIMEOUT_MS=1000\n"
        "INTERVALL=3\n[SENSOR]\nID6IP1=127\nid6ip4=9\nID6PORT=1502\nID6NAME=x\n"
        "ID6TIMEOUT_MS=5000\nID6UNIT=255\nID1UNIT=1\nID7PORT=1\n[SERVER]\nCONNINFO=c\n"
        "STATION=s\n[UI]\nLANG=en\n[SENSR]\nID1IP1=127\nstray\n");
    EXPECT_EQ(AllStationConfigProblems(config),
              QStringList({"Config.ini [daq] INTERVALL 无效：未知的键（第7行），未读取",
                           "Config.ini [SENSOR] ID7PORT 无效：未知的键（第16行），未读取",
                           "Config.ini [SENSR] 无效：未知的节（第22行），该节未读取"}));
    EXPECT_TRUE(LoadStationConfig(config).recording);
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
