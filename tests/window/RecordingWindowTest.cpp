#include <gtest/gtest.h>

#include <QTest>

#include "DatabaseLogDlg.h"
#include "IniFile.h"
#include "MessageHook.h"
#include "RecordRow.h"
#include "StationConfig.h"
#include "StationWindowTest.h"

namespace orsan {
namespace {

class RecordingWindowTest : public test::StationWindowTest {
protected:
    INIFILE Config() const { return INIFILE(ConfigPath(dataDir.path())); }
    int RecordKey() const { return Config().GetInt("DAQ", "RECORD"); }
};

// The recording state outlives the window: on again at the next start, with
// a line saying so; each start and stop by the user is kept.
TEST_F(RecordingWindowTest, RecordingResumesAtTheNextStart) {
    ASSERT_TRUE(database.Open(dataDir.path()));
    INIFILE config = Config();
    ASSERT_TRUE(config.WriteInt("DAQ", "RECORD", 1));
    OpenWindow();
    DatabaseLogDlg* page = window->RecordPage();
    EXPECT_TRUE(page->IsRecording());
    EXPECT_EQ(page->StatusText(), QString::fromUtf8("已恢复上次的记录"));
    window->RecordTick();
    EXPECT_EQ(database.Count(), std::optional<qint64>(1));

    page->StopRecording();
    EXPECT_EQ(RecordKey(), 0);
    EXPECT_TRUE(page->StatusText().isEmpty());
    page->StartRecording();
    EXPECT_EQ(RecordKey(), 1);
    EXPECT_TRUE(page->StatusText().isEmpty());  // started by hand, not resumed
}

// Closing asks while recording or while rows wait for the server; "否"
// keeps the window, "是" closes it, and with neither it closes at once.
TEST_F(RecordingWindowTest, ClosingAsksWhileRecordingOrWithRowsForTheServer) {
    ASSERT_TRUE(database.Open(dataDir.path()));
    OpenWindow();
    const auto close = [&](bool answer) {
        ScopedMessageHook hook(answer);
        window->show();
        window->close();
        return std::pair{hook.Questions(), window->isVisible()};
    };
    EXPECT_EQ(close(false), std::pair(QStringList(), false));

    window->RecordPage()->StartRecording();
    const QStringList recording{QString::fromUtf8("正在记录数据，确定退出吗？")};
    EXPECT_EQ(close(false), std::pair(recording, true));
    EXPECT_EQ(close(true), std::pair(recording, false));
    window->RecordPage()->StopRecording();

    // Two rows for sensor 1 and a server nobody answers: they wait.
    ASSERT_TRUE(database.Insert(RecordRow{}));
    ASSERT_TRUE(database.Insert(RecordRow{}));
    INIFILE config = Config();
    ASSERT_TRUE(SaveAddresses(config, {0x0100007f, 0, 0, 0, 0, 0}));
    window.reset();
    OpenWindow();
    window->ApplyServerSettings({"host=127.0.0.1 port=1 dbname=plant", "press-7"});
    {
        ScopedMessageHook waiting(false);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !window->ConfirmClose(); }, 30000));
    }
    EXPECT_EQ(close(false),
              std::pair(QStringList{QString::fromUtf8("确定退出吗？\n还有2条记录等待发送到服务器。")},
                        true));
}

}  // namespace
}  // namespace orsan
