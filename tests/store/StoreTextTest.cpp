#include <gtest/gtest.h>

#include "Conninfo.h"
#include "LocalRecord.h"
#include "StationStore.h"
#include "StoreStatusText.h"

namespace orsan::store {
namespace {

TEST(ServerTime, InstantsAsPostgresReadsThem) {
    struct Case {
        int64_t seconds;
        int milliseconds;
        const char* text;
    } const cases[] = {
        {0, 0, "1970-01-01 00:00:00.000+00"},
        {1714523415, 7, "2024-05-01 00:30:15.007+00"},
        {1709164800, 0, "2024-02-29 00:00:00.000+00"},  // leap day
        {-1, 250, "1969-12-31 23:59:59.250+00"},
        {1714523415, 1500, "2024-05-01 00:30:16.500+00"},  // a foreign msTime carried over
        {2147483647, 999, "2038-01-19 03:14:07.999+00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatServerTime(c.seconds, c.milliseconds), c.text) << c.seconds;
}

LocalRecord RecordWith(int64_t time, int ms, double base) {
    LocalRecord record;
    record.time = time;
    record.milliseconds = ms;
    for (int v = 0; v < kStoreSensors * kStoreValues; ++v) record.values[size_t(v)] = base + v;
    return record;
}

TEST(ReadingsCopyText, OneLinePerConfiguredSensorWithEscapesAndNulls) {
    LocalRecord first = RecordWith(0, 0, 0.25);
    first.isNull.set(size_t(2 * kStoreValues + 3));  // sensor 3, acc_z
    first.values[size_t(2 * kStoreValues)] = -1.5;
    LocalRecord second = RecordWith(86400, 10, 1000.5);
    second.values[size_t(2 * kStoreValues + 9)] = std::numeric_limits<double>::quiet_NaN();

    std::string out;
    AppendReadingsCopyText({first, second}, SensorMask("100100"),  // sensors 3 and 6
                           "line\t1\\a\nb", out);
    const std::string station = "line\\t1\\\\a\\nb";
    const std::string expected =
        station +
        "\t1970-01-01 00:00:00.000+00\t3\t-1.5\t21.25\t22.25\t\\N\t24.25\t25.25\t26.25"
        "\t27.25\t28.25\t29.25\n" +
        station +
        "\t1970-01-01 00:00:00.000+00\t6\t50.25\t51.25\t52.25\t53.25\t54.25\t55.25"
        "\t56.25\t57.25\t58.25\t59.25\n" +
        station +
        "\t1970-01-02 00:00:00.010+00\t3\t1020.5\t1021.5\t1022.5\t1023.5\t1024.5"
        "\t1025.5\t1026.5\t1027.5\t1028.5\tNaN\n" +
        station +
        "\t1970-01-02 00:00:00.010+00\t6\t1050.5\t1051.5\t1052.5\t1053.5\t1054.5"
        "\t1055.5\t1056.5\t1057.5\t1058.5\t1059.5\n";
    EXPECT_EQ(out, expected);

    std::string none;
    AppendReadingsCopyText({first}, SensorMask(), "s", none);
    EXPECT_EQ(none, "");
}

TEST(Passwords, NeverShown) {
    struct Case {
        std::string conninfo;
        std::string text;
        std::string shown;      // what the text becomes
        std::string secretOut;  // must not appear
    } const cases[] = {
        {"host=db port=5432 password=s3cret user=u", "conninfo password=s3cret here",
         "conninfo password=*** here", "s3cret"},
        {"host=db password='a b\\'c'", "password = 'a b\\'c' end", "password = *** end", "a b"},
        {"postgresql://u:pw9@db/plant", "reaching postgresql://u:pw9@db/plant failed",
         "reaching postgresql://u:***@db/plant failed", "pw9"},
        {"host=db password=xyzzy", "the server said: xyzzy is wrong",
         "the server said: *** is wrong", "xyzzy"},
        {"host=db sslkey=/k sslpassword='k 3'", "key sslpassword = 'k 3' or k 3",
         "key sslpassword = *** or ***", "k 3"},
    };
    for (const Case& c : cases) {
        const std::string redacted = RedactPasswords(c.text, c.conninfo);
        EXPECT_EQ(redacted, c.shown) << c.conninfo;
        EXPECT_EQ(redacted.find(c.secretOut), std::string::npos) << c.conninfo;
        EXPECT_EQ(ShownConninfo(c.conninfo).find(c.secretOut), std::string::npos) << c.conninfo;
    }
    EXPECT_EQ(ShownConninfo("host=db port=5433 dbname=plant password=pw user=u"),
              "user=u dbname=plant host=db port=5433");
    EXPECT_EQ(ShownConninfo("host=db password='unterminated"), "(无法解析的连接字符串)");
    // What is shown is itself a connection string, the same less the secrets.
    EXPECT_EQ(ShownConninfo("host=db sslpassword=x application_name='a b\\'c\\\\' dbname=''"),
              "dbname='' host=db application_name='a b\\'c\\\\'");

    struct Secret {
        std::string conninfo;
        bool has;
    } const secrets[] = {
        {"host=db user=password", false},    {"host=db password=", false},
        {"host=db password=p", true},        {"host=db sslpassword=p", true},
        {"postgresql://u:p@db/plant", true}, {"postgresql://u@db/plant", false},
        {"host=db sslpassword='p", true},  // unparsable, names a secret
    };
    for (const Secret& c : secrets) EXPECT_EQ(HasSecret(c.conninfo), c.has) << c.conninfo;
}

TEST(StoreStatusText, StreamsThatFailAreToldBesideTheStateInTheRowAndOnStandardError) {
    StoreStatus status;
    status.server = "127.0.0.1:5432/plant";
    status.backlog = 3;
    status.streamProblems = "报警事件未发送: 缺少列: kind";
    struct Case {
        StoreState state;
        QString line;
        QString message;
    } const cases[] = {
        {StoreState::Connecting, "服务器: 连接中 · 待发送 3 行 · 部分未发送",
         "server: connecting; 报警事件未发送: 缺少列: kind"},
        {StoreState::Connected, "服务器: 已连接 · 待发送 3 行 · 部分未发送",
         "server: connected to 127.0.0.1:5432/plant; 报警事件未发送: 缺少列: kind"},
        {StoreState::Retrying, "服务器: 重试中 · 待发送 3 行 · 部分未发送",
         "server: 站点名 x 已被 y 使用 (retrying, backlog 3 rows); 报警事件未发送: 缺少列: kind"},
    };
    status.lastError = "站点名 x 已被 y 使用";
    for (const Case& c : cases) {
        status.state = c.state;
        EXPECT_EQ(orsan::StoreStatusLine(status), c.line);
        EXPECT_EQ(orsan::StoreChangeMessage(status), c.message);
    }
}

TEST(StoreStatusText, StateBacklogAndConflictsInOneLine) {
    struct Case {
        StoreState state;
        int64_t backlog;
        int64_t conflicts;
        const char* line;
    } const cases[] = {
        {StoreState::NotConfigured, -1, 0, "服务器: 未配置"},
        {StoreState::Connected, 12, 0, "服务器: 已连接 · 待发送 12 行"},
        {StoreState::Retrying, -1, 3, "服务器: 重试中 · 冲突 3 行"},
        {StoreState::Connected, 0, 5, "服务器: 已连接 · 待发送 0 行 · 冲突 5 行"},
        // A viewer counts nothing of its own: the recorder sends.
        {StoreState::LeftToRecorder, 7, 2, "服务器: 由记录程序发送"},
    };
    for (const Case& c : cases) {
        StoreStatus status;
        status.state = c.state;
        status.backlog = c.backlog;
        status.conflicts = c.conflicts;
        EXPECT_EQ(StoreStatusLine(status).toStdString(), c.line);
    }
    // A viewer with a server in Config.ini leaves it to the recorder; without one there is none.
    StationStore viewer(QStringLiteral("/nonexistent"));
    viewer.LeaveToRecorder({QStringLiteral("host=127.0.0.1 port=1 dbname=plant"), "press-7"});
    EXPECT_EQ(viewer.Status().state, StoreState::LeftToRecorder);
    viewer.LeaveToRecorder({QString(), "press-7"});
    EXPECT_EQ(viewer.Status().state, StoreState::NotConfigured);
}

}  // namespace
}  // namespace orsan::store
