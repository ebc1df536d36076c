#pragma once

#include <QByteArray>
#include <cstdint>

namespace orsan {

// strftime of a 32-bit calendar time in the process's local zone (TZ).
QByteArray FormatLocalTime(int32_t seconds, const char* format);

}  // namespace orsan
