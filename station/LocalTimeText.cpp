#include "LocalTimeText.h"

#include <time.h>

#include <cstdlib>
#include <string>

namespace orsan {

namespace {

// localtime_r does not read TZ by itself; tzset lets a changed zone show.
// tzset looks at the zone file on every call, so it runs only when TZ
// differs from the last value seen (exports format a million time stamps).
void RefreshZoneWhenChanged() {
    thread_local bool known = false;
    thread_local std::string last;
    const char* tz = std::getenv("TZ");
    const std::string now = tz ? std::string(1, '=') + tz : std::string();
    if (known && now == last) return;
    tzset();
    last = now;
    known = true;
}

}  // namespace

int FormatLocalTimeInto(int32_t seconds, const char* format, char* out, int size) {
    RefreshZoneWhenChanged();
    const time_t t = seconds;
    struct tm parts {};
    if (size <= 0 || localtime_r(&t, &parts) == nullptr) return 0;
    return static_cast<int>(strftime(out, static_cast<size_t>(size), format, &parts));
}

QByteArray FormatLocalTime(int32_t seconds, const char* format) {
    char text[128];
    const int length = FormatLocalTimeInto(seconds, format, text, sizeof text);
    return QByteArray(text, length);
}

}  // namespace orsan
