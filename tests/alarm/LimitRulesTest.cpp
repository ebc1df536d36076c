#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "AlarmMonitor.h"
#include "AlarmSettings.h"
#include "IniFile.h"
#include "TempDir.h"

namespace orsan {
namespace {

struct LimitCase {
    const char* name;
    SensorAlarmTexts texts;
    double ab, bc, cd, alarm, trip, delay;
};

// Texts of one section; empty fields are "not given".
SensorAlarmTexts Texts(const char* cls, const char* zones = "", const char* baseline = "",
                       const char* alarm = "", const char* trip = "", const char* delay = "",
                       const char* tempAlarm = "", const char* tempTrip = "") {
    return {QString::fromUtf8(cls),       QString::fromUtf8(zones),   QString::fromUtf8(baseline),
            QString::fromUtf8(alarm),     QString::fromUtf8(trip),    QString::fromUtf8(delay),
            QString::fromUtf8(tempAlarm), QString::fromUtf8(tempTrip)};
}

TEST(LimitRules, AlarmAndTripFollowOverridesBaselineAndClass) {
    const LimitCase cases[] = {
        {"defaults are 2R", Texts(""), 1.4, 2.8, 4.5, 2.8, 4.5, 3},
        {"class 1F", Texts("1F"), 3.5, 7.1, 11.0, 7.1, 11.0, 3},
        // 2R: 1.0 + 0.25 * 2.8 = 1.7, below the cap 3.5
        {"baseline raises alarm", Texts("2R", "", "1.0"), 1.4, 2.8, 4.5, 1.7, 4.5, 3},
        // 3.0 + 0.7 = 3.7 is capped at 1.25 * 2.8 = 3.5
        {"baseline capped", Texts("2R", "", "3.0"), 1.4, 2.8, 4.5, 3.5, 4.5, 3},
        {"ALARM beats baseline", Texts("2R", "", "3.0", "2.0"), 1.4, 2.8, 4.5, 2.0, 4.5, 3},
        {"ALARM above the cap is kept", Texts("2R", "", "", "6.0", "7"), 1.4, 2.8, 4.5, 6, 7, 3},
        {"hex, and an underflow is 0, as in the other INI files",
         Texts("2R", "", "", "0x3", "0x1.2p3", "1e-400"), 1.4, 2.8, 4.5, 3, 9, 0},
        {"TRIP and DELAY", Texts("1R", "", "", "", "9.5", "0.5"), 2.3, 4.5, 7.1, 4.5, 9.5, 0.5},
        {"own zones set B/C and C/D", Texts("1R", "1,2,3"), 1, 2, 3, 2, 3, 3},
        {"baseline on own zones", Texts("2F", "1,4,8", "2"), 1, 4, 8, 3.0, 8, 3},
        {"zero delay", Texts("2R", "", "", "", "", "0"), 1.4, 2.8, 4.5, 2.8, 4.5, 0},
    };
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList problems;
        const AlarmLimits limits = ComputeAlarmLimits(ParseAlarmTexts(c.texts, &problems));
        EXPECT_TRUE(problems.isEmpty()) << problems.join('\n').toStdString();
        EXPECT_EQ(limits.zones, (ZoneBoundaries{c.ab, c.bc, c.cd}));
        EXPECT_DOUBLE_EQ(limits.alarm, c.alarm);
        EXPECT_DOUBLE_EQ(limits.trip, c.trip);
        EXPECT_DOUBLE_EQ(limits.delaySeconds, c.delay);
    }
}

TEST(LimitRules, BadValuesAreRefusedWithAMessageAndTheDefaultUsed) {
    const struct {
        SensorAlarmTexts texts;
        const char* key;
        double bc, alarm, trip, delay;
        int temperatureLimits = 0;  // kept
    } cases[] = {
        {Texts("1R", "3,2,4"), "ZONES", 4.5, 4.5, 7.1, 3},      // not rising
        {Texts("1R", "2,2,4"), "ZONES", 4.5, 4.5, 7.1, 3},      // equal is not rising
        {Texts("1R", "1,2"), "ZONES", 4.5, 4.5, 7.1, 3},        // two values
        {Texts("1R", "1,2,x"), "ZONES", 4.5, 4.5, 7.1, 3},      // not a number
        {Texts("1R", "0,2,4"), "ZONES", 4.5, 4.5, 7.1, 3},      // zero boundary
        {Texts("9Z"), "CLASS", 2.8, 2.8, 4.5, 3},               // unknown class
        {Texts("2R", "", "-1"), "BASELINE", 2.8, 2.8, 4.5, 3},  // negative
        {Texts("2R", "", "", "0"), "ALARM", 2.8, 2.8, 4.5, 3},  // zero alarm
        {Texts("2R", "", "", "", "abc"), "TRIP", 2.8, 2.8, 4.5, 3},
        {Texts("2R", "", "", "", "", "-2"), "DELAY", 2.8, 2.8, 4.5, 3},
        {Texts("2R", "", "", "", "", "nan"), "DELAY", 2.8, 2.8, 4.5, 3},
        {Texts("2R", "", "", "", "", "1e300"), "DELAY", 2.8, 2.8, 4.5, 3},
        {Texts("2R", "", "", "", "5abc"), "TRIP", 2.8, 2.8, 4.5, 3},  // not only a number
        // TRIP not above ALARM: both fall back to the boundaries B/C and C/D.
        {Texts("2R", "", "", "5"), "ALARM", 2.8, 2.8, 4.5, 3},  // above C/D, the TRIP
        {Texts("2R", "", "", "5", "4"), "ALARM", 2.8, 2.8, 4.5, 3},
        {Texts("2R", "", "", "3", "3"), "ALARM", 2.8, 2.8, 4.5, 3},
        {Texts("2R", "", "", "", "2"), "TRIP", 2.8, 2.8, 4.5, 3},  // below B/C, the ALARM
        {Texts("1R", "1,2,2.1", "3"), "BASELINE", 2, 2, 2.1, 3},   // capped at 2.5 > 2.1
        // Temperature limits: each refused alone, or both when TRIP is not above.
        {Texts("2R", "", "", "", "", "", "-5", "80"), "TEMP_ALARM", 2.8, 2.8, 4.5, 3, 1},
        {Texts("2R", "", "", "", "", "", "70", "hot"), "TEMP_TRIP", 2.8, 2.8, 4.5, 3, 1},
        {Texts("2R", "", "", "", "", "", "80", "80"), "TEMP_ALARM", 2.8, 2.8, 4.5, 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        QStringList problems;
        const AlarmLimits limits = ComputeAlarmLimits(ParseAlarmTexts(c.texts, &problems));
        ASSERT_EQ(problems.size(), 1);
        EXPECT_TRUE(problems[0].startsWith(QLatin1String(c.key) + '='))
            << problems[0].toStdString();
        EXPECT_DOUBLE_EQ(limits.zones.bc, c.bc);
        EXPECT_DOUBLE_EQ(limits.alarm, c.alarm);
        EXPECT_DOUBLE_EQ(limits.trip, c.trip);
        EXPECT_DOUBLE_EQ(limits.delaySeconds, c.delay);
        EXPECT_EQ(int(limits.tempAlarm.has_value()) + int(limits.tempTrip.has_value()),
                  c.temperatureLimits);
    }
}

TEST(LimitRules, AlarmIniSectionsRoundTripAndMissingFileMeansDefaults) {
    test::TempDir dir("orsan-alarm-ini");
    const QString folder = QString::fromStdString(dir.Path().string());
    INIFILE file(AlarmIniPath(folder));
    QStringList problems;
    EXPECT_EQ(LoadSensorAlarmSettings(file, 4, &problems), SensorAlarmSettings{});
    EXPECT_TRUE(problems.isEmpty());

    SensorAlarmSettings settings;
    settings.machineClass = "1F";
    settings.zones = ZoneBoundaries{2.5, 5.25, 9.0};
    settings.baseline = 1.1;
    settings.trip = 12.5;
    settings.delaySeconds = 4.5;
    settings.tempTrip = 95.5;
    ASSERT_TRUE(SaveSensorAlarmSettings(file, 4, settings));
    EXPECT_EQ(LoadSensorAlarmSettings(file, 4, &problems), settings);
    EXPECT_EQ(LoadSensorAlarmSettings(file, 3, &problems), SensorAlarmSettings{});
    EXPECT_TRUE(problems.isEmpty());
    EXPECT_EQ(file.GetString("ID4", "ZONES", ""), "2.5,5.25,9");
    EXPECT_EQ(file.GetString("ID4", "TEMP_TRIP", ""), "95.5");

    // Hand-edited bad value: refused with a message naming the section.
    ASSERT_TRUE(file.WriteString("ID4", "ZONES", "5,4,3"));
    const SensorAlarmSettings loaded = LoadSensorAlarmSettings(file, 4, &problems);
    EXPECT_FALSE(loaded.zones.has_value());
    ASSERT_EQ(problems.size(), 1);
    EXPECT_TRUE(problems[0].startsWith("Alarm.ini [ID4] ZONES=5,4,3")) << problems[0].toStdString();

    // A section that is no sensor's, and a sensor's twice, are named; [GLOBAL]
    // is reserved. The limits refused together name their sensor too.
    ASSERT_TRUE(file.WriteStrings("ID4", {{"ZONES", ""}, {"TRIP", "2"}}));
    ASSERT_TRUE(file.WriteString("GLOBAL", "X", "1"));
    ASSERT_TRUE(file.WriteString("ID7", "CLASS", "1F"));
    QFile raw(file.Path());
    ASSERT_TRUE(raw.open(QIODevice::Append));
    raw.write("[id4]\r\nDELAY=1\r\n[ID4]\r\n");
    raw.close();
    const QStringList loadProblems = AlarmMonitor().LoadSettings(folder);
    ASSERT_EQ(loadProblems.size(), 3) << loadProblems.join('\n').toStdString();
    EXPECT_TRUE(loadProblems[0].startsWith("Alarm.ini [ID7] ")) << loadProblems[0].toStdString();
    EXPECT_TRUE(loadProblems[1].startsWith("Alarm.ini [id4] ")) << loadProblems[1].toStdString();
    EXPECT_TRUE(loadProblems[2].startsWith("Alarm.ini [ID4] BASELINE=1.1、TRIP=2 "))
        << loadProblems[2].toStdString();
}

// Lower-case names are the same names, read silently; a SOUND that is not 0
// or 1, and a file that is not text, are named.
TEST(LimitRules, AlarmIniThatReadsAsSomethingElseIsNamed) {
    struct Case {
        QByteArray bytes;
        QString problem;  // the start of the one message; empty: none
        bool sound;
        const char* sensor2Class;
    };
    const QByteArray utf16 =
        QByteArray("\xFF\xFE", 2) +
        QByteArray(reinterpret_cast<const char*>(u"[GLOBAL]\r\nSOUND=0\r\n"), 2 * 19);
    const Case cases[] = {
        {"[global]\nsound=0\n[id2]\nclass=1f\n", "", false, "1F"},
        {"[GLOBAL]\nSOUND=1\n", "", true, "2R"},
        {"[GLOBAL]\nSOUND=maybe\n", "Alarm.ini [GLOBAL] SOUND=maybe 无效", true, "2R"},
        {utf16, "%1 未读取", true, "2R"},
        {QByteArray("[ID2]\nCLASS=1F\n\0\x01\x02", 16), "%1 未读取", true, "2R"},
    };
    for (const Case& c : cases) {
        test::TempDir dir("orsan-alarm-ini-bytes");
        const QString folder = QString::fromStdString(dir.Path().string());
        QFile raw(AlarmIniPath(folder));
        ASSERT_TRUE(raw.open(QIODevice::WriteOnly));
        raw.write(c.bytes);
        raw.close();
        AlarmMonitor monitor;
        const QStringList problems = monitor.LoadSettings(folder);
        SCOPED_TRACE(problems.join('\n').toStdString());
        ASSERT_EQ(problems.size(), c.problem.isEmpty() ? 0 : 1);
        if (!c.problem.isEmpty()) {
            EXPECT_TRUE(
                problems[0].startsWith(QString(c.problem).replace("%1", AlarmIniPath(folder))));
        }
        EXPECT_EQ(monitor.SoundEnabled(), c.sound);
        EXPECT_EQ(monitor.Settings(2).machineClass, c.sensor2Class);
    }
}

}  // namespace
}  // namespace orsan
