#include "LocalTimeText.h"

#include <time.h>

namespace orsan {

QByteArray FormatLocalTime(int32_t seconds, const char* format) {
    // localtime_r does not read TZ by itself; tzset lets a changed zone show.
    tzset();
    const time_t t = seconds;
    struct tm parts {};
    if (localtime_r(&t, &parts) == nullptr) return QByteArray();
    char text[128];
    const size_t length = strftime(text, sizeof text, format, &parts);
    return QByteArray(text, static_cast<int>(length));
}

}  // namespace orsan
