#pragma once

#include <QColor>
#include <QString>

#include "AlarmEvent.h"
#include "SeverityZones.h"

namespace orsan {

// A green, B yellow-green, C orange, D red; no zone grey.
QColor ZoneColor(Zone zone);
// Text readable on ZoneColor: white on the dark ones, black on the light ones.
QColor ZoneTextColor(Zone zone);

// The zone beside the velocity row and the lamps: "B区 2R", "--区 2R" without
// a zone; without a class only the zone ("B区").
QString ZoneCaption(Zone zone, const QString& machineClass = QString());

// Colours a label-like widget's background by its zone, text readable on it.
QString ZoneStyleSheet(Zone zone);

// Text readable on any background, by its perceived brightness.
QColor ReadableTextOn(const QColor& background);

// An alarm of a kind: TRIP red, ALARM amber (the colours of zones D and C),
// LOST purple.
QColor AlarmKindColor(AlarmKind kind);
// "ALARM 报警", "TRIP 停机", "CLEAR 恢复", "LOST 通信中断", "RESTORED 通信恢复".
QString AlarmKindCaption(AlarmKind kind);
// An ALARM, TRIP or LOST alarm that has returned to normal and still waits
// for its acknowledgement: "ALARM 已恢复 未确认", "TRIP 已恢复 未确认",
// "LOST 已恢复 未确认".
QString ReturnedAlarmCaption(AlarmKind kind);

}  // namespace orsan
