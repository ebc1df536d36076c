#include "LocalTimeText.h"

#include <time.h>

#include <algorithm>
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

bool OffsetAt(int64_t seconds, long* offset) {
    const time_t t = time_t(seconds);
    struct tm parts {};
    if (localtime_r(&t, &parts) == nullptr) return false;
    *offset = parts.tm_gmtoff;
    return true;
}

}  // namespace

LocalClockShowing WhenLocalClockShows(int64_t wallSeconds) {
    RefreshZoneWhenChanged();
    // Every offset the zone has within a day of that time is a candidate; a
    // candidate holds when the zone has that offset at the instant it gives.
    constexpr int64_t kHalfDay = 43200;
    std::vector<long> offsets;
    for (int64_t probe = wallSeconds - 2 * kHalfDay; probe <= wallSeconds + 2 * kHalfDay;
         probe += kHalfDay) {
        long offset = 0;
        if (OffsetAt(probe, &offset) &&
            std::find(offsets.begin(), offsets.end(), offset) == offsets.end())
            offsets.push_back(offset);
    }
    LocalClockShowing showing;
    for (long offset : offsets) {
        const int64_t instant = wallSeconds - offset;
        long actual = 0;
        if (OffsetAt(instant, &actual) && actual == offset)
            showing.instants.push_back({instant, offset});
    }
    std::sort(showing.instants.begin(), showing.instants.end(),
              [](const ZonedInstant& a, const ZonedInstant& b) { return a.seconds < b.seconds; });
    if (!showing.instants.empty() || offsets.size() < 2) return showing;
    // Skipped: the clock ran on the smaller offset up to some instant and on
    // the larger one from there; find that instant.
    const long before = *std::min_element(offsets.begin(), offsets.end());
    const long after = *std::max_element(offsets.begin(), offsets.end());
    int64_t low = wallSeconds - after;    // still on `before`
    int64_t high = wallSeconds - before;  // already on `after`
    while (high - low > 1) {
        const int64_t middle = low + (high - low) / 2;
        long offset = before;
        OffsetAt(middle, &offset);
        (offset == before ? low : high) = middle;
    }
    showing.skippedFrom = high + before;
    showing.skippedTo = high + after;
    return showing;
}

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
