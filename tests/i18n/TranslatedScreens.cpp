#include "TranslatedScreens.h"

#include "AlarmSettingsDlg.h"
#include "AlarmSettingsTableDlg.h"
#include "HistoryChartDlg.h"
#include "MessageDlg.h"
#include "OrsanSensorMonitorDlg.h"
#include "RecordRange.h"
#include "ServerSettingsDlg.h"
#include "SetChartDlg.h"
#include "SetExpDlg.h"
#include "SetShowDlg.h"
#include "SettingParsDlg.h"
#include "StationConfig.h"
#include "WavDaqDlg.h"

namespace orsan::test {

ScreenContext::ScreenContext() {
    database.Open(dataDir.path());
}

namespace {

template <class Dialog>
Screen Plain(const char* name) {
    return {QString::fromLatin1(name), [](ScreenContext&) { return std::make_unique<Dialog>(); }};
}

}  // namespace

std::vector<Screen> TranslatedScreens() {
    return {
        {QStringLiteral("MainWindow"),
         [](ScreenContext& c) {
             return std::make_unique<OrsanSensorMonitorDlg>(
                 StationPaths{c.dataDir.path(), c.dataDir.path()}, c.poller, c.database);
         }},
        Plain<MessageDlg>("MessageDlg"),
        Plain<YesnoMsgDlg>("YesnoMsgDlg"),
        Plain<SetChartDlg>("SetChartDlg"),
        Plain<SetShowDlg>("SetShowDlg"),
        Plain<SetExpDlg>("SetExpDlg"),
        Plain<SettingParsDlg>("SettingParsDlg"),
        {QStringLiteral("WavDaqDlg"),
         [](ScreenContext& c) {
             return std::make_unique<WavDaqDlg>(0x0100007Fu, c.dataDir.path());
         }},
        {QStringLiteral("ServerSettingsDlg"),
         [](ScreenContext& c) {
             return std::make_unique<ServerSettingsDlg>(ConfigPath(c.dataDir.path()));
         }},
        {QStringLiteral("AlarmSettingsDlg"),
         [](ScreenContext&) {
             return std::make_unique<AlarmSettingsDlg>(1, SensorAlarmSettings{});
         }},
        {QStringLiteral("AlarmSettingsTableDlg"),
         [](ScreenContext&) {
             return std::make_unique<AlarmSettingsTableDlg>(AlarmSettingsTableDlg::AllSettings{});
         }},
        {QStringLiteral("HistoryChartDlg"),
         [](ScreenContext& c) {
             std::array<int, kCurveCount> curves;
             curves.fill(1);
             return std::make_unique<HistoryChartDlg>(c.database, 1, RecordRange::All(),
                                                      TrendLimits{}, curves, c.dataDir.path());
         }},
    };
}

}  // namespace orsan::test
