#include "ConfigCheckCommand.h"

#include <QDir>

#include "AlarmSettings.h"
#include "ChartSettings.h"
#include "ConfigCheck.h"
#include "StationConfig.h"

namespace orsan {

namespace {

// Keys of Alarm.ini; its sections are named by CheckAlarmSections, so the
// keys of an unknown section are not named again.
bool IsKnownAlarmName(const QString& section, const QString& key) {
    const auto is = [](const QString& name, const char* known) {
        return name.compare(QLatin1String(known), Qt::CaseInsensitive) == 0;
    };
    if (key.isEmpty()) return true;
    if (is(section, kGlobalSection)) return is(key, "SOUND");
    for (int n = 1; n <= kSensorCount; ++n) {
        if (section.compare(AlarmSection(n), Qt::CaseInsensitive) != 0) continue;
        return SensorAlarmKeys().contains(key, Qt::CaseInsensitive);
    }
    return true;
}

}  // namespace

int RunConfigCheckCommand(const QString& dataDir, QTextStream& out) {
    QStringList findings = AllStationConfigProblems(INIFILE(ConfigPath(dataDir)));
    const INIFILE alarm(AlarmIniPath(dataDir));
    const QString alarmName = QStringLiteral("Alarm.ini");
    findings << UnreadableLineProblems(alarm, alarmName) << CheckAlarmSections(alarm)
             << UnknownNameProblems(alarm, alarmName, IsKnownAlarmName);
    for (int n = 1; n <= kSensorCount; ++n) LoadSensorAlarmSettings(alarm, n, &findings);
    findings << CheckChartIni(INIFILE(QDir(dataDir).filePath(QStringLiteral("Chart.ini"))));
    for (const QString& finding : findings) out << finding << '\n';
    out.flush();
    return findings.isEmpty() ? 0 : 1;
}

}  // namespace orsan
