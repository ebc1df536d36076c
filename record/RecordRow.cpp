#include "RecordRow.h"

#include <QDateTime>

namespace orsan {

RecordRow BuildRecordRow(int32_t time, uint16_t milliseconds, const LiveValues& values,
                         const SensorFreshness& fresh) {
    RecordRow row;
    row.time = time;
    row.milliseconds = milliseconds;
    for (int r = 0; r < kSensorCount; ++r)
        row.sensors[r] = SampleFromLiveRow(values[r], time, milliseconds);
    row.fresh = fresh;
    return row;
}

RecordRow BuildRecordRowAt(qint64 msecsSinceEpoch, const LiveValues& values,
                           const SensorFreshness& fresh) {
    // Floor division, so instants before 1970 still get 0..999 milliseconds.
    qint64 seconds = msecsSinceEpoch / 1000;
    qint64 millis = msecsSinceEpoch % 1000;
    if (millis < 0) {
        millis += 1000;
        seconds -= 1;
    }
    return BuildRecordRow(int32_t(seconds), uint16_t(millis), values, fresh);
}

RecordRow BuildRecordRowNow(const ReadingSnapshot& snapshot) {
    return BuildRecordRowAt(QDateTime::currentMSecsSinceEpoch(), snapshot.values, snapshot.fresh);
}

}  // namespace orsan
