#pragma once

#include <QString>
#include <cstdio>

namespace orsan {

// One number through the C library's printf, so rounding and notation are
// exactly printf's (QString::asprintf rounds ties differently).
inline QString PrintfText(const char* format, double value) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text, length < 0 ? 0 : std::min<int>(length, sizeof text - 1));
}

}  // namespace orsan
