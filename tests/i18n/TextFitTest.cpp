#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QHash>
#include <QSet>
#include <QTemporaryDir>

#include "AlarmSettingsDlg.h"
#include "AlarmSettingsTableDlg.h"
#include "DailyReportDlg.h"
#include "DatabaseLogDlg.h"
#include "HistoryChartDlg.h"
#include "Language.h"
#include "MessageDlg.h"
#include "OrsanSensorMonitorDlg.h"
#include "RecordHistoryMode.h"
#include "RecordRange.h"
#include "SensorPoller.h"
#include "ServerSettingsDlg.h"
#include "SetChartDlg.h"
#include "SetExpDlg.h"
#include "SetShowDlg.h"
#include "SettingParsDlg.h"
#include "TextFit.h"
#include "WavDaqDlg.h"
#include "XTabCtrl.h"

namespace orsan {
namespace {

// What the screens are built over: a private data folder, an idle poller
// and the folder's record database.
struct ScreenContext {
    QTemporaryDir dir;
    SensorPoller poller;
    RecordDatabase database;
    ScreenContext() { database.Open(dir.path()); }
};

template <class Dialog>
std::unique_ptr<QWidget> Make(ScreenContext&) {
    return std::make_unique<Dialog>();
}

// Every screen of the station, in one place: a new dialog is added here.
// The main window's pages are its tabs.
const std::vector<std::pair<QString, std::unique_ptr<QWidget> (*)(ScreenContext&)>> kScreens = {
    {"MainWindow",
     [](ScreenContext& c) -> std::unique_ptr<QWidget> {
         return std::make_unique<OrsanSensorMonitorDlg>(StationPaths{c.dir.path(), c.dir.path()},
                                                        c.poller, c.database);
     }},
    {"MessageDlg", Make<MessageDlg>},
    {"YesnoMsgDlg", Make<YesnoMsgDlg>},
    {"SetChartDlg", Make<SetChartDlg>},
    {"SetShowDlg", Make<SetShowDlg>},
    {"SetExpDlg", Make<SetExpDlg>},
    {"SettingParsDlg", Make<SettingParsDlg>},
    {"WavDaqDlg",
     [](ScreenContext& c) -> std::unique_ptr<QWidget> {
         return std::make_unique<WavDaqDlg>(0x0100007Fu, c.dir.path());
     }},
    {"ServerSettingsDlg",
     [](ScreenContext& c) -> std::unique_ptr<QWidget> {
         return std::make_unique<ServerSettingsDlg>(c.dir.filePath("Config.ini"));
     }},
    {"AlarmSettingsDlg",
     [](ScreenContext&) -> std::unique_ptr<QWidget> {
         return std::make_unique<AlarmSettingsDlg>(1, SensorAlarmSettings{});
     }},
    {"AlarmSettingsTableDlg",
     [](ScreenContext&) -> std::unique_ptr<QWidget> {
         return std::make_unique<AlarmSettingsTableDlg>(AlarmSettingsTableDlg::AllSettings{});
     }},
    {"HistoryChartDlg",
     [](ScreenContext& c) -> std::unique_ptr<QWidget> {
         std::array<int, kCurveCount> curves;
         curves.fill(1);
         return std::make_unique<HistoryChartDlg>(c.database, 1, RecordRange::All(), TrendLimits{},
                                                  curves, SensorNames{}, c.dir.path());
     }},
    {"RecordHistory",
     [](ScreenContext& c) -> std::unique_ptr<QWidget> {
         auto page = std::make_unique<DatabaseLogDlg>(c.database, c.dir.path());
         page->History()->SetActive(true);
         return page;
     }},
    {"DailyReportDlg",
     [](ScreenContext&) -> std::unique_ptr<QWidget> {
         return std::make_unique<DailyReportDlg>(QDate(2024, 5, 1));
     }},
};

// English captions shared by buttons whose Chinese ones differ: which acts?
// Switches to Chinese and back to compare.
QStringList MergedButtonTexts(const QWidget* root) {
    QHash<const QAbstractButton*, QString> english;
    for (const QAbstractButton* b : root->findChildren<QAbstractButton*>())
        if (b->isVisibleTo(root) && !b->text().isEmpty()) english[b] = b->text();
    UseLanguage(UiLanguage::Chinese, nullptr);
    QApplication::processEvents();
    QHash<QString, QSet<QString>> chineseOf;
    for (auto it = english.cbegin(); it != english.cend(); ++it)
        chineseOf[it.value()].insert(it.key()->text());
    UseLanguage(UiLanguage::English, nullptr);
    QApplication::processEvents();
    QStringList merged;
    for (auto it = chineseOf.cbegin(); it != chineseOf.cend(); ++it)
        if (it.value().size() > 1) merged << it.key();
    return merged;
}

// Every screen in both languages, every page of its tab control shown in
// turn: no text may be wider than its control, no two different
// buttons alike in English. Set ORSAN_GRAB_DIR to get a
// picture of each.
class TextFitTest : public ::testing::TestWithParam<UiLanguage> {
protected:
    void TearDown() override { UseLanguage(UiLanguage::Chinese, nullptr); }
};

TEST_P(TextFitTest, EveryScreenAndPageHoldsItsTexts) {
    QString error;
    ASSERT_TRUE(UseLanguage(GetParam(), &error)) << error.toStdString();
    const QString grabs = qEnvironmentVariable("ORSAN_GRAB_DIR");
    const QString language = LanguageCode(GetParam());
    for (const auto& [name, make] : kScreens) {
        ScreenContext context;
        const std::unique_ptr<QWidget> screen = make(context);
        screen->show();
        auto* tabs = screen->findChild<XTabCtrl*>();
        for (int page = 0; page < (tabs ? tabs->Count() : 1); ++page) {
            if (tabs) tabs->SelectTab(page);
            QApplication::processEvents();
            for (const test::Misfit& m : test::FindMisfits(screen.get()))
                ADD_FAILURE() << name.toStdString() << " page " << page << ": "
                              << m.control.toStdString() << " \"" << m.text.toStdString()
                              << "\" needs " << m.needed << " px, has " << m.room;
            if (GetParam() == UiLanguage::English) {
                EXPECT_EQ(MergedButtonTexts(screen.get()), QStringList()) << name.toStdString();
            }
            if (!grabs.isEmpty())
                screen->grab().save(QDir(grabs).filePath(
                    QStringLiteral("%1-%2-%3.png").arg(name, language).arg(page)));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFitTest,
                         ::testing::Values(UiLanguage::Chinese, UiLanguage::English),
                         [](const auto& info) {
                             return LanguageCode(info.param).remove('_').toStdString();
                         });

}  // namespace
}  // namespace orsan
