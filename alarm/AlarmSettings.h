#pragma once

#include <QString>
#include <QStringList>
#include <optional>

#include "SeverityZones.h"

namespace orsan {

class INIFILE;

inline constexpr double kDefaultAlarmDelaySeconds = 3.0;
// A day: longer delays are refused, they would never let an event through.
inline constexpr double kLongestAlarmDelaySeconds = 86400.0;
// Without ALARM=, a BASELINE= raises the alarm limit by this share of the
// B/C boundary, but never beyond kBaselineCap times that boundary.
inline constexpr double kBaselineShare = 0.25;
inline constexpr double kBaselineCap = 1.25;
// CLEAR once the vibration stays below this share of the alarm limit.
inline constexpr double kClearShare = 0.95;

// One sensor's section of Alarm.ini ([ID1] ... [ID6]) as accepted: values
// that were refused are absent, so their defaults apply.
struct SensorAlarmSettings {
    QString machineClass = QLatin1String(kDefaultMachineClass);
    std::optional<ZoneBoundaries> zones;  // ZONES=ab,bc,cd
    std::optional<double> baseline;       // BASELINE= mm/s
    std::optional<double> alarm;          // ALARM= mm/s
    std::optional<double> trip;           // TRIP= mm/s
    double delaySeconds = kDefaultAlarmDelaySeconds;
    // TEMP_ALARM= and TEMP_TRIP= degC: without them, no temperature alarm.
    std::optional<double> tempAlarm;
    std::optional<double> tempTrip;
    bool operator==(const SensorAlarmSettings&) const = default;
};

// The texts of one section, as the file or the dialog holds them; an empty
// text means "not given".
struct SensorAlarmTexts {
    QString machineClass;
    QString zones;
    QString baseline;
    QString alarm;
    QString trip;
    QString delay;
    QString tempAlarm{};
    QString tempTrip{};
};

// Checks every text. Refused values keep their defaults and add one message
// each (in Chinese, naming the key and the value) to *problems. Limits whose
// TRIP is not above their ALARM are refused together (BASELINE, ALARM and
// TRIP), leaving the zone boundaries as the limits; a TEMP_TRIP not above
// its TEMP_ALARM refuses both, leaving no temperature alarm.
SensorAlarmSettings ParseAlarmTexts(const SensorAlarmTexts& texts, QStringList* problems);
// The texts that ParseAlarmTexts reads back as the same settings.
SensorAlarmTexts FormatAlarmTexts(const SensorAlarmSettings& settings);

// What the event logic works with.
struct AlarmLimits {
    ZoneBoundaries zones;
    double alarm = 0;
    double trip = 0;
    double delaySeconds = kDefaultAlarmDelaySeconds;
    std::optional<double> tempAlarm;  // degC
    std::optional<double> tempTrip;
};
AlarmLimits ComputeAlarmLimits(const SensorAlarmSettings& settings);

// Alarm.ini in the data folder.
QString AlarmIniPath(const QString& dataDir);

// The keys of a sensor's section [ID<n>], as the file names them.
const QStringList& SensorAlarmKeys();

QString AlarmSection(int sensor);  // "ID1" ... "ID6"
// Reserved for settings of the whole station.
inline constexpr const char* kGlobalSection = "GLOBAL";
// [GLOBAL] SOUND=0 keeps the alarm tone off; any other value, or none, lets it
// sound. A value other than 0 or 1 adds a message to *problems.
bool LoadAlarmSoundEnabled(const INIFILE& file, QStringList* problems = nullptr);
// Who acknowledges unless the operator says otherwise: the login name from
// USER, LOGNAME or USERNAME, else the account's name from the system, else
// "操作员" (translated).
QString DefaultOperatorName();

// One message for each section that is not [ID1] ... [ID6] or [GLOBAL], and
// for each name used by more than one section (case is ignored: [id2] is
// [ID2]); only AlarmIniNotTextProblem when it has one.
QStringList CheckAlarmSections(const INIFILE& file);
// A message naming the file when it is in UTF-16 or holds NUL bytes: it is
// not read, all defaults apply. Empty for a text file or none.
QString AlarmIniNotTextProblem(const INIFILE& file);

// A missing file, section or key means the default. Messages about refused
// values are prefixed with the section.
SensorAlarmSettings LoadSensorAlarmSettings(const INIFILE& file, int sensor, QStringList* problems);
// Writes all eight keys of the section (empty for the defaults); false when
// the file could not be written.
bool SaveSensorAlarmSettings(INIFILE& file, int sensor, const SensorAlarmSettings& settings);

}  // namespace orsan
