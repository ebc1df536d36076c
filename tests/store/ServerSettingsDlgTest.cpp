#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "IniFile.h"
#include "TranslationProbe.h"
#include "PgCluster.h"
#include "ServerSettingsDlg.h"
#include "ServerStatusButton.h"
#include "StationConfig.h"
#include "TempDir.h"

namespace orsan {
namespace {

class ServerSettingsDialog : public ::testing::Test {
protected:
    static void SetUpTestSuite() { cluster_ = std::make_unique<test::PgCluster>(); }
    static void TearDownTestSuite() { cluster_.reset(); }

    QString ConfigFile() const { return QString::fromStdString(folder_.File("Config.ini")); }

    // Presses "测试连接" and waits for the answer from the worker thread.
    QString TestConnection(ServerSettingsDlg& dialog, const std::string& conninfo) {
        dialog.ConninfoEdit()->setText(QString::fromStdString(conninfo));
        QTest::mouseClick(dialog.TestButton(), Qt::LeftButton);
        EXPECT_FALSE(dialog.TestButton()->isEnabled()) << "one test at a time";
        EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.TestButton()->isEnabled(); }, 30000));
        return dialog.Answer()->text();
    }

    static std::unique_ptr<test::PgCluster> cluster_;
    test::TempDir folder_;
};

std::unique_ptr<test::PgCluster> ServerSettingsDialog::cluster_;

TEST_F(ServerSettingsDialog, TestConnectionShowsTheServersAnswer) {
    ServerSettingsDlg dialog(ConfigFile());
    dialog.show();
    const std::string port = std::to_string(cluster_->Port());
    struct Case {
        std::string conninfo;
        std::vector<std::string> fragments;
    } const cases[] = {
        {cluster_->Conninfo(),
         {"连接成功: PostgreSQL 15", "数据库 postgres", "用户 postgres", "127.0.0.1:" + port,
          "表 readings: 尚不存在", "表 stations: 尚不存在",
          "站点名 " + DefaultStationName().toStdString() + " 尚未登记"}},
        {cluster_->Conninfo("absent_plant") + " password=topsecret",
         {"连接失败", "\"absent_plant\" does not exist"}},
        {"host=127.0.0.1 port=1 dbname=x",
         {"连接失败", "127.0.0.1", "port 1 failed: Connection refused Is the server"}},
        {"   ", {"未填写连接字符串"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.conninfo);
        const std::string answer = TestConnection(dialog, c.conninfo).toStdString();
        for (const std::string& fragment : c.fragments)
            EXPECT_NE(answer.find(fragment), std::string::npos) << answer;
        EXPECT_EQ(answer.find("topsecret"), std::string::npos) << answer;
    }
}

TEST_F(ServerSettingsDialog, SaveWritesTheServerSectionAndAnEmptyNameFollowsTheHost) {
    {
        ServerSettingsDlg dialog(ConfigFile());
        dialog.ConninfoEdit()->setText("  host=db.plant dbname=plant user=line  ");
        dialog.StationEdit()->setText("");
        QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(dialog.Settings().station, DefaultStationName());
    }
    const INIFILE config(ConfigFile());
    EXPECT_EQ(config.GetString("SERVER", "CONNINFO", "-"), "host=db.plant dbname=plant user=line");
    EXPECT_EQ(config.GetString("SERVER", "STATION", "-"), "");

    ServerSettingsDlg again(ConfigFile());
    EXPECT_EQ(again.ConninfoEdit()->text(), "host=db.plant dbname=plant user=line");
    again.StationEdit()->setText("press-7");
    // A password is never written to Config.ini, nor a string libpq cannot read.
    for (const auto& [conninfo, reason] :
         {std::pair<QString, QString>{"host=db password=pw1", "含有密码"},
          {"host=db sslpassword=pw1", "含有密码"},
          {"postgresql://line:pw1@db/plant", "含有密码"},
          {"host=db password='a b'", "含有密码"},
          {"host=db dbname='plant", "无法解析"}}) {
        again.ConninfoEdit()->setText(conninfo);
        QTest::mouseClick(again.SaveButton(), Qt::LeftButton);
        EXPECT_NE(again.result(), QDialog::Accepted) << conninfo.toStdString();
        EXPECT_TRUE(again.Answer()->text().contains(reason)) << conninfo.toStdString();
        EXPECT_EQ(config.GetString("SERVER", "CONNINFO", "-"),
                  "host=db.plant dbname=plant user=line");
    }
    // However long, the string is kept and read back whole.
    const QString longConninfo = "host=db sslrootcert=/etc/" + QString(300, 'x') + " dbname=plant";
    again.ConninfoEdit()->setText(longConninfo);
    QTest::mouseClick(again.SaveButton(), Qt::LeftButton);
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(LoadServerSettings(config).conninfo, longConninfo);
    EXPECT_EQ(LoadServerSettings(config).station, "press-7");
}

TEST_F(ServerSettingsDialog, ASecretWrittenIntoConfigByHandIsNeverShownAndNotSavedBack) {
    INIFILE config(ConfigFile());
    ASSERT_TRUE(config.WriteString("SERVER", "CONNINFO",
                                   "host=db password=pw1 dbname=plant sslpassword=pw2"));
    ServerSettingsDlg dialog(ConfigFile());
    EXPECT_EQ(dialog.ConninfoEdit()->text(), "dbname=plant host=db");
    EXPECT_TRUE(dialog.Answer()->text().contains("含有密码"));
    QTest::mouseClick(dialog.SaveButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(config.GetString("SERVER", "CONNINFO", "-"), "dbname=plant host=db");
}

TEST(ServerTexts, DialogAndStateButtonFollowALanguageSwitchAtRunTime) {
    test::TempDir folder;
    ServerSettingsDlg dialog(QString::fromStdString(folder.File("Config.ini")));
    ServerStatusButton button;
    store::StoreStatus status;
    status.state = store::StoreState::Retrying;
    status.backlog = 7;
    status.lastError = "refused";
    button.Show(status);
    const auto shown = [&] {
        return QStringList{dialog.windowTitle(), dialog.SaveButton()->text(),
                           dialog.ConninfoEdit()->placeholderText(), button.text(),
                           button.toolTip()};
    };
    const QStringList chinese = shown();
    const QStringList english = ShownWhileMarked(shown);
    EXPECT_EQ(english,
              (QStringList{"«数据服务器设置»", "«保存»",
                           "«host=服务器 port=5432 dbname=plant user=station sslmode=prefer»",
                           "«服务器: 重试中»« · 待发送 7 行»",
                           "«数据服务器设置»«\n最近错误: refused»"}));
    EXPECT_EQ(shown(), chinese);
}

}  // namespace
}  // namespace orsan
