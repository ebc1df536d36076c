#pragma once

#include <QString>
#include <array>
#include <limits>
#include <string>

#include "IniFile.h"
#include "LiveValues.h"

namespace orsan {

// The machine each sensor sits on, as the operator calls it ("P-101");
// slot 0 is sensor 1. An empty name leaves the sensor's usual captions.
using SensorNames = std::array<QString, kSensorCount>;

// "ID<n>NAME" in Config.ini's [SENSOR] section.
QString NameKey(int sensor);

// Names as written, blanks around them dropped; a missing key is empty.
SensorNames LoadSensorNames(const INIFILE& config);
bool SaveSensorNames(INIFILE& config, const SensorNames& names);

// The sensor's tab caption: "传感器【n】" without a name, "n# <name>" with one.
QString SensorTabCaption(int sensor, const QString& name);

// The sensor where text names it: "传感器n" without a name, "n# <name>" with one.
QString SensorTitle(int sensor, const QString& name);

// The name as a piece of an export's file name, "_<name>" with every
// character a file system refuses (on Linux or Windows) and every control
// character as "_", cut on a character boundary to at most maxBytes bytes in
// the file system's encoding; empty without a name (or without room), so
// unnamed exports keep their file names.
QString FileNameSuffix(const QString& name, int maxBytes = std::numeric_limits<int>::max());

// The longest file name (not path) most file systems take, in bytes.
constexpr int kMaxFileNameBytes = 255;

// The name as a JSON value: a quoted, escaped string, or null without one.
std::string JsonName(const QString& name);

}  // namespace orsan
