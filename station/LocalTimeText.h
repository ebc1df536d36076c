#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace orsan {

// strftime of a 32-bit calendar time in the process's local zone (TZ).
QByteArray FormatLocalTime(int32_t seconds, const char* format);

// The same into out (size bytes); returns the length, 0 when it does not fit.
int FormatLocalTimeInto(int32_t seconds, const char* format, char* out, int size);

// An instant and the local zone's UTC offset at it (seconds east of UTC).
struct ZonedInstant {
    int64_t seconds = 0;
    long offset = 0;
    bool operator==(const ZonedInstant&) const = default;
};

// When the local clock shows a wall-clock time (given as seconds counted as
// if it were UTC): usually once; twice, earlier first, in the hour the clocks
// go back; never in the hour they go forward, and then `skippedFrom` ..
// `skippedTo` (wall-clock seconds) is the stretch the clock jumped over.
struct LocalClockShowing {
    std::vector<ZonedInstant> instants;
    int64_t skippedFrom = 0;
    int64_t skippedTo = 0;
};
LocalClockShowing WhenLocalClockShows(int64_t wallSeconds);

}  // namespace orsan
