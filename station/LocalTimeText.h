#pragma once

#include <QByteArray>
#include <cstdint>

namespace orsan {

// strftime of a 32-bit calendar time in the process's local zone (TZ).
QByteArray FormatLocalTime(int32_t seconds, const char* format);

// The same into out (size bytes); returns the length, 0 when it does not fit.
int FormatLocalTimeInto(int32_t seconds, const char* format, char* out, int size);

}  // namespace orsan
