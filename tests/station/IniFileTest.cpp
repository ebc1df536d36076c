#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <cmath>
#include <csignal>

#include "IniFile.h"

namespace orsan {
namespace {

class IniFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath("Test.ini");

    void WriteRaw(const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray ReadRaw() {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
};

TEST_F(IniFileTest, MissingFileSectionOrKeyGivesDefaults) {
    INIFILE ini(path);
    EXPECT_EQ(ini.GetString("DAQ", "INTERVAL", "0.3"), "0.3");
    EXPECT_EQ(ini.GetInt("SENSOR", "ID1IP1"), 0);
    WriteRaw("[DAQ]\r\nOTHER=1\r\n");
    EXPECT_EQ(ini.GetString("DAQ", "INTERVAL", "0.3"), "0.3");
    EXPECT_EQ(ini.GetString("NOPE", "OTHER", "d"), "d");
}

TEST_F(IniFileTest, ReadsValuesLikePrivateProfileFunctions) {
    WriteRaw(
        "; comment\r\n[daq]\r\n  interval =  2.5  \r\n[SENSOR]\r\nID1IP1=192\r\nID1IP2=abc\r\n"
        "ID1IP3=12ab\r\nID1IP4=-3\r\nQUOTED=\"x y\"\r\n");
    INIFILE ini(path);
    EXPECT_EQ(ini.GetString("DAQ", "INTERVAL", "0.3"), "2.5");  // names ignore case, trimmed
    EXPECT_EQ(ini.GetInt("SENSOR", "ID1IP1"), 192);
    EXPECT_EQ(ini.GetInt("SENSOR", "ID1IP2"), 0);   // not a number
    EXPECT_EQ(ini.GetInt("SENSOR", "ID1IP3"), 12);  // leading digits
    EXPECT_EQ(ini.GetInt("SENSOR", "ID1IP4"), -3);
    EXPECT_EQ(ini.GetString("SENSOR", "QUOTED", ""), "x y");
}

TEST_F(IniFileTest, WritesCreateFileSectionAndKeyAndKeepTheRest) {
    INIFILE ini(path);
    ASSERT_TRUE(ini.WriteString("DAQ", "INTERVAL", "12.0"));
    ASSERT_TRUE(ini.WriteInt("SENSOR", "ID1IP1", 192));
    ASSERT_TRUE(ini.WriteInt("SENSOR", "ID1IP2", 168));
    ASSERT_TRUE(ini.WriteString("DAQ", "INTERVAL", "2.0"));  // replaced in place
    EXPECT_EQ(ReadRaw(),
              QByteArray("[DAQ]\r\nINTERVAL=2.0\r\n[SENSOR]\r\nID1IP1=192\r\nID1IP2=168\r\n"));

    WriteRaw("; keep me\n[SENSOR]\nID1IP1=1\n\n[OTHER]\nA=b\n");
    ASSERT_TRUE(ini.WriteInt("SENSOR", "ID2IP1", 7));
    // Appended after the section's last entry, LF line ends kept.
    EXPECT_EQ(ReadRaw(), QByteArray("; keep me\n[SENSOR]\nID1IP1=1\nID2IP1=7\n\n[OTHER]\nA=b\n"));
    // Several keys at once: replaced and appended in one write.
    ASSERT_TRUE(ini.WriteStrings("SENSOR", {{"ID1IP1", "9"}, {"ID3IP1", "3"}}));
    ASSERT_TRUE(ini.WriteStrings("NEW", {{"X", "1"}, {"Y", "2"}}));
    EXPECT_EQ(ReadRaw(), QByteArray("; keep me\n[SENSOR]\nID1IP1=9\nID2IP1=7\nID3IP1=3\n\n"
                                    "[OTHER]\nA=b\n[NEW]\nX=1\nY=2\n"));
}

// The file size limit holds for root too: the disk "fills" in the middle of
// the write, and the old file must stay whole with nothing left beside it.
TEST_F(IniFileTest, FailedWriteLeavesTheOldFileWholeEvenForRoot) {
    INIFILE ini(path);
    ASSERT_TRUE(ini.WriteString("DAQ", "INTERVAL", "2.0"));
    const QByteArray before = ReadRaw();
    const auto entries = [this] {
        return QDir(dir.path())
            .entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden, QDir::Name);
    };
    const QStringList beforeEntries = entries();

    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;  // the new file would be several hundred bytes
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool wrote = ini.WriteString("TITLE", "NAME", QString(200, QLatin1Char('x')));
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(wrote);
    EXPECT_EQ(ReadRaw(), before);
    EXPECT_EQ(entries(), beforeEntries);  // no temporary file left behind

    INIFILE nowhere(dir.filePath("missing/folder/X.ini"));
    EXPECT_FALSE(nowhere.WriteString("A", "B", "C"));
}

TEST_F(IniFileTest, NonUtf8FileIsReadAndWrittenAsGb18030) {
    const QString title = QString::fromUtf8("网络版三轴振动温度智能传感器");
    QStringEncoder gb("GB18030");
    // 楼忙 is C2 A5 C3 A6 in GB18030, which is also valid UTF-8.
    const QString busy = QString::fromUtf8("楼忙");
    WriteRaw(QByteArray("[TITLE]\r\nNAME=") + QByteArray(gb.encode(title)) +
             "\r\nBUSY=" + QByteArray(gb.encode(busy)) + "\r\n");
    INIFILE ini(path);
    EXPECT_EQ(ini.GetString("TITLE", "NAME", ""), title);
    EXPECT_EQ(ini.GetString("TITLE", "BUSY", ""), busy);
    EXPECT_TRUE(ini.UnreadableLines().isEmpty());
    ASSERT_TRUE(ini.WriteString("TITLE", "OTHER", title));
    const QByteArray raw = ReadRaw();
    EXPECT_TRUE(raw.contains(QByteArray(gb.encode(title))));
    EXPECT_FALSE(raw.contains(title.toUtf8()));
}

TEST_F(IniFileTest, LongValuesAreReadWholeInEitherEncoding) {
    const QString conninfo = "host=db sslrootcert=/etc/" + QString(300, 'x') + " dbname=plant";
    const QString station(200, QChar(0x4F20));
    for (bool gb18030 : {false, true}) {
        SCOPED_TRACE(gb18030);
        // Written by hand: an editor on Windows saves GB18030.
        const QString text = "[SERVER]\r\nCONNINFO=" + conninfo + "\r\nSTATION=" + station + "\r\n";
        QStringEncoder gb("GB18030");
        WriteRaw(gb18030 ? QByteArray(gb.encode(text)) : text.toUtf8());
        INIFILE ini(path);
        EXPECT_EQ(ini.GetString("SERVER", "CONNINFO", ""), conninfo);
        EXPECT_EQ(ini.GetString("SERVER", "STATION", ""), station);
    }
    EXPECT_EQ(INIFILE(path).GetString("SERVER", "MISSING", conninfo), conninfo);
}

// A Latin-1 letter in a file of UTF-8 names costs its own line only, and a
// line of megabytes is skipped rather than read at every call. Both are
// named, and a save keeps their bytes.
TEST_F(IniFileTest, UnreadableLinesAreSkippedNamedAndKeptOnSave) {
    const QByteArray pump = QString::fromUtf8("泵站一号").toUtf8();
    const QByteArray huge = "ID4NAME=" + QByteArray(50 << 20, 'x');
    const struct {
        QByteArray line;
        IniUnreadableLine::Reason reason;
    } cases[] = {{"ID3NAME=Caf\xE9", IniUnreadableLine::Reason::NotUtf8},
                 {huge, IniUnreadableLine::Reason::TooLong}};
    for (const auto& c : cases) {
        WriteRaw("[SENSOR]\r\nID1NAME=" + pump + "\r\n" + c.line + "\r\nID2NAME=" + pump + "\r\n");
        INIFILE ini(path);
        EXPECT_EQ(ini.GetString("SENSOR", "ID1NAME", ""), QString::fromUtf8(pump));
        EXPECT_EQ(ini.GetString("SENSOR", "ID2NAME", ""), QString::fromUtf8(pump));
        EXPECT_EQ(ini.GetString("SENSOR", "ID3NAME", "-"), "-");
        EXPECT_EQ(ini.GetString("SENSOR", "ID4NAME", "-"), "-");
        const QList<IniUnreadableLine> unreadable = ini.UnreadableLines();
        ASSERT_EQ(unreadable.size(), 1);
        EXPECT_EQ(unreadable[0].line, 3);
        EXPECT_EQ(unreadable[0].reason, c.reason);
        ASSERT_TRUE(ini.WriteString("SENSOR", "ID5NAME", "x"));
        EXPECT_TRUE(ReadRaw().contains("\r\n" + c.line + "\r\n"));
        EXPECT_TRUE(ReadRaw().contains(pump));
    }
}

TEST(IniNumbers, ParseLikeAtoiAndAtof) {
    EXPECT_EQ(ParseIniInt("300"), 300);
    EXPECT_EQ(ParseIniInt(" 42 "), 42);
    EXPECT_EQ(ParseIniInt("+7x"), 7);
    EXPECT_EQ(ParseIniInt(""), 0);
    // As strtod reads them in the C locale: an underflow is 0, not infinity.
    const struct {
        const char* text;
        double value;
    } doubles[] = {
        {"2.5", 2.5},          {"2.5s", 2.5},     {"abc", 0.0},    {"nan", 0.0},
        {"-1e2", -100.0},      {"+-1", 0.0},      {"1e-400", 0.0}, {"-1e-400", 0.0},
        {"0x10", 16.0},        {"0x1p-2", 0.25},  {" .5e1x", 5.0}, {"1e400", HUGE_VAL},
        {"-1e400", -HUGE_VAL}, {"inf", HUGE_VAL}, {"2,5", 2.0},
    };
    for (const auto& c : doubles) EXPECT_DOUBLE_EQ(ParseIniDouble(c.text), c.value) << c.text;
}

}  // namespace
}  // namespace orsan
