#pragma once

#include <QString>

#include "SensorLink.h"

namespace orsan {

// The notice a panel shows while its values are not fresh: why, and on a
// second line the local time of the last good read. Empty while the sensor
// answers.
QString LinkNoticeText(const SensorLink& link);

// What a value field shows when its sensor has never answered.
inline constexpr char kNoValueText[] = "--";

}  // namespace orsan
