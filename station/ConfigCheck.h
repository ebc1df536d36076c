#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "IniFile.h"

namespace orsan {

// Whether the station reads a section (key empty) or a key of a section;
// names compare without regard to case, as INIFILE reads them.
using KnownIniName = std::function<bool(const QString& section, const QString& key)>;

// One message per line INIFILE does not read (too long, not UTF-8 in a file
// of UTF-8 text), naming fileName and the line.
QStringList UnreadableLineProblems(const INIFILE& file, const QString& fileName);
// One message per section and per key the station does not read: a typing
// mistake such as [SENSR] or INTERVALL= would otherwise go unnoticed. The
// keys of an unknown section are not named again.
QStringList UnknownNameProblems(const INIFILE& file, const QString& fileName,
                                const KnownIniName& known);

bool IsKnownConfigName(const QString& section, const QString& key);

// What is told about Config.ini at every start: unreadable lines, unknown
// names and refused values. [UI] LANG and [DAQ] KEEP_DAYS are told where they
// are read.
QStringList StationConfigProblems(const INIFILE& config);

// StationConfigProblems and the refusals of LANG and KEEP_DAYS.
QStringList AllStationConfigProblems(const INIFILE& config);

}  // namespace orsan
