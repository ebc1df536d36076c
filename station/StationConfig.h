#pragma once

#include <QCoreApplication>
#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

#include "IniFile.h"
#include "LiveValues.h"
#include "SensorLinks.h"
#include "SensorNames.h"

namespace orsan {

inline constexpr float kMinRecordInterval = 0.3f;
inline constexpr float kMaxRecordInterval = 1800.0f;
// Shown in the current language (context "StationConfig") when bq_Info.ini names none.
inline constexpr char kDefaultTitle[] = QT_TRANSLATE_NOOP(
    "StationConfig", "网络版三轴振动温度智能传感器【ModbusTcp接口，端口502】 V1.8");

// What Config.ini holds.
struct StationConfig {
    float interval = kMinRecordInterval;             // record interval, seconds
    int intervalWholeSeconds = 0;                    // truncated toward zero
    std::array<uint32_t, kSensorCount> addresses{};  // octet 1 in the low byte
    std::array<uint16_t, kSensorCount> ports{502, 502, 502, 502, 502, 502};
    SensorNames names;       // [SENSOR] ID<n>NAME
    bool recording = false;  // [DAQ] RECORD: the window was recording when it last ran
    SensorLinks links;       // answer limits and unit ids
};

// True when the main window accepts an interval typed by the user (1 .. 1800 s,
// the float compared against the double 0.9999).
bool IsAcceptableInterval(float seconds);

// "%1.1f"
QString FormatInterval(float seconds);

// "ID<n>IP<k>", "ID<n>PORT"
QString OctetKey(int sensor, int octet);
QString PortKey(int sensor);

QString ConfigPath(const QString& folder);  // folder + "/Config.ini"
QString InfoPath(const QString& folder);    // folder + "/bq_Info.ini"

// Every value is checked: one that is refused keeps its default, and adds a
// message naming file, section, key and value to *problems (when given).
StationConfig LoadStationConfig(const INIFILE& config, QStringList* problems = nullptr);

// "Config.ini [section] key=value 无效：outcome", translated.
QString ConfigRefusal(const QString& section, const QString& key, const QString& value,
                      const QString& outcome);
// An integer key of Config.ini: missing (or empty), accepted, or refused with
// ConfigRefusal(..., outcome) added to *problems.
struct IniValue {
    enum class State { Missing, Accepted, Refused };
    State state = State::Missing;
    int value = 0;
};
IniValue ReadCheckedInt(const INIFILE& config, const QString& section, const QString& key,
                        const std::function<bool(qlonglong)>& accepted, const QString& outcome,
                        QStringList* problems);

bool SaveAddresses(INIFILE& config, const std::array<uint32_t, kSensorCount>& addresses);
bool SaveInterval(INIFILE& config, float seconds);
// [DAQ] RECORD=1 while the window records, 0 once stopped.
bool SaveRecording(INIFILE& config, bool on);

// [DAQ] KEEP_DAYS: how many days of rows the record keeps, 0 (the default,
// also when the key is missing or empty) for all of them. Anything but a
// non-negative whole number is refused: empty, with the reason in *error, and
// the caller keeps every row rather than guess.
inline constexpr int kMaxKeepDays = 36500;
std::optional<int> LoadKeepDays(const INIFILE& config, QString* error);

// Window title from bq_Info.ini, section TITLE, key NAME, cut to its first
// kMaxTitleBytes GB18030 bytes (two per Chinese character) without splitting
// a character, as the title has always been shown.
inline constexpr int kMaxTitleBytes = 259;
QString LoadTitle(const INIFILE& info);

}  // namespace orsan
