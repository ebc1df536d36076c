#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

#include "IniFile.h"
#include "TrendGeometry.h"
#include "TrendStyle.h"

namespace orsan {

// One panel's chart settings from its Chart.ini section "CH<slot>".
struct ChartSettings {
    TrendLimits limits;
    std::array<int, kCurveCount> showFlags{};
};

// "CH1" ... "CH6" for sensor slots 1 ... 6.
QString ChartSection(int sensorSlot);

// Limits from TMin/TMax/AMax/VMax/DMax (defaults 0, 80, 10, 20, 50; text read
// as its leading decimal number) and flags from SHOW0..SHOW9 (a missing key
// is 1 for T_Shell, Vel_X, Vel_Y and Vel_Z, 0 for the others).
// Never writes the file.
ChartSettings LoadChartSettings(const INIFILE& ini, int sensorSlot);

// TMin, TMax, AMax, VMax, DMax in this order with "%1.1f". False when the
// file could not be written.
bool SaveChartLimits(INIFILE& ini, int sensorSlot, const TrendLimits& limits);

// SHOW0 ... SHOW9 in this order with "%d".
bool SaveShowFlags(INIFILE& ini, int sensorSlot, const std::array<int, kCurveCount>& flags);

// A limit as the range dialog shows it: general notation, up to 6
// significant digits (80 -> "80", 0.5 -> "0.5").
QString LimitText(float value);

// A range field's text as a number: optional blanks around one decimal
// number that fits a float. False for anything else (empty, "abc", "1x",
// "inf", 1e39).
bool ParseLimitText(const QString& text, float* value);

// Limits an axis can be drawn with: every minimum below its maximum (the
// temperature axis from TMin to TMax, the others from 0 to their maximum).
// The index of the first offending field (0 TMin ... 4 DMax, the maximum of
// the pair) and the message that names it; nullopt when all are fine.
struct LimitsProblem {
    int field;
    QString message;
};
std::optional<LimitsProblem> CheckChartLimits(const TrendLimits& limits);

// Every finding about Chart.ini for a check of the data folder: unreadable
// lines, sections other than CH1 ... CH6, unknown keys, limits that are not
// a plain number, SHOW flags other than 0 or 1 and limits an axis cannot be
// drawn with. Each message names Chart.ini and the section.
QStringList CheckChartIni(const INIFILE& ini);

}  // namespace orsan
