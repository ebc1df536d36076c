#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>

#include "IniFile.h"
#include "Language.h"
#include "OrsanSensorMonitorDlg.h"
#include "QtPrinters.h"
#include "RecordDatabase.h"
#include "SensorNames.h"
#include "SensorPoller.h"
#include "StationConfig.h"

namespace orsan {
namespace {

class LanguageTest : public ::testing::Test {
protected:
    void TearDown() override { UseLanguage(UiLanguage::Chinese, nullptr); }
};

TEST_F(LanguageTest, CommandLineWinsOverConfigAndBadValuesStayChinese) {
    struct Case {
        const char* commandLine;
        const char* configured;  // null: no key
        UiLanguage shown;
        bool refused;
    };
    const Case cases[] = {
        {"", nullptr, UiLanguage::Chinese, false},   {"", "", UiLanguage::Chinese, false},
        {"", " en ", UiLanguage::English, false},    {"", "zh_CN", UiLanguage::Chinese, false},
        {"", "EN", UiLanguage::Chinese, true},       {"", "english", UiLanguage::Chinese, true},
        {"zh_CN", "en", UiLanguage::Chinese, false}, {"en", "fr", UiLanguage::English, false},
    };
    for (const Case& c : cases) {
        const std::string label =
            std::string(c.commandLine) + "/" + (c.configured ? c.configured : "-");
        QTemporaryDir dir;
        INIFILE config(ConfigPath(dir.path()));
        if (c.configured) {
            ASSERT_TRUE(config.WriteString("UI", "LANG", c.configured));
        }
        UseLanguage(UiLanguage::English, nullptr);  // a run before must not linger
        const QString problem = StartLanguage(QString::fromLatin1(c.commandLine), config);
        EXPECT_EQ(ShownLanguage(), c.shown) << label;
        EXPECT_EQ(!problem.isEmpty(), c.refused) << label << " " << problem.toStdString();
        if (c.refused) {
            EXPECT_TRUE(problem.contains(QLatin1String(c.configured))) << label;
        }
        // Texts made without widgets follow too.
        EXPECT_EQ(SensorTabCaption(3, QString()),
                  c.shown == UiLanguage::English ? "Sensor 3" : "传感器【3】")
            << label;
    }
}

// Every text with words a user reads in the window (live values, which move
// on their own timers, have none).
QStringList ShownTexts(const QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (const QWidget* w : window.findChildren<QWidget*>()) {
        texts << w->toolTip();
        if (const auto* label = qobject_cast<const QLabel*>(w)) texts << label->text();
        if (const auto* button = qobject_cast<const QAbstractButton*>(w)) texts << button->text();
        if (const auto* group = qobject_cast<const QGroupBox*>(w)) texts << group->title();
        if (const auto* bar = qobject_cast<const QTabBar*>(w))
            for (int i = 0; i < bar->count(); ++i) texts << bar->tabText(i);
    }
    return texts.filter(QRegularExpression(QStringLiteral("\\p{L}")));
}

// The texts with their decimal figures masked: the record's file size in a
// tooltip grows on its own while the window records.
QStringList WithoutFigures(QStringList texts) {
    return texts.replaceInStrings(QRegularExpression(QStringLiteral("\\d+\\.\\d+")),
                                  QStringLiteral("#"));
}

TEST_F(LanguageTest, WindowSwitchesAtOnceAndBackToEveryChineseTextAndKeepsTheChoice) {
    QTemporaryDir dir;
    SensorPoller poller;
    RecordDatabase database;
    ASSERT_TRUE(database.Open(dir.path()));
    OrsanSensorMonitorDlg window(StationPaths{dir.path(), dir.path()}, poller, database);
    window.show();
    const QStringList chinese = WithoutFigures(ShownTexts(window));
    auto* choice = window.findChild<QComboBox*>(QStringLiteral("id1096"));
    ASSERT_NE(choice, nullptr);
    const INIFILE config(ConfigPath(dir.path()));

    emit choice->activated(1);
    QApplication::processEvents();
    EXPECT_EQ(ShownLanguage(), UiLanguage::English);
    EXPECT_EQ(config.GetString("UI", "LANG", QString()), "en");
    const QStringList english = ShownTexts(window);
    for (const char* text :
         {"Sensor addresses", "Overview", "Sensor 1", "Records", "Alarms", "Language:", "Ack. all"})
        EXPECT_TRUE(english.contains(QLatin1String(text))) << text;
    // Qt's own texts (the edit's context menu here) follow the choice.
    const auto qtCopy = [] { return QCoreApplication::translate("QLineEdit", "&Copy"); };
    EXPECT_EQ(qtCopy(), "&Copy");

    emit choice->activated(0);
    QApplication::processEvents();
    EXPECT_EQ(qtCopy(), QString::fromUtf8("复制(&C)"));
    EXPECT_EQ(config.GetString("UI", "LANG", QString()), "zh_CN");
    // Every Chinese text is back and no English one is left; a panel may
    // meanwhile have shown a notice of its own.
    const QStringList back = WithoutFigures(ShownTexts(window));
    for (const QString& text : chinese) EXPECT_TRUE(back.contains(text)) << text.toStdString();
    for (const QString& text : english)
        EXPECT_TRUE(chinese.contains(text) || !back.contains(text)) << text.toStdString();
}

}  // namespace
}  // namespace orsan
