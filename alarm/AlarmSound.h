#pragma once

#include <memory>

namespace orsan {

// The alarm tone as the annunciation sees it: it loops from Start until
// Stop. Tests count the calls; without an audio output there is none.
class AlarmSound {
public:
    virtual ~AlarmSound() = default;
    virtual void Start() = 0;
    virtual void Stop() = 0;
};

// The project's tone through Qt Multimedia; null when the system has no
// audio output (a server, a test run), so the station stays silent and
// says nothing about it.
std::unique_ptr<AlarmSound> MakeAlarmTone();

}  // namespace orsan
