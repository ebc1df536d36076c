#pragma once

#include <cstdint>

#include "SensorPoller.h"

namespace orsan {

// How fresh a sensor's live values are, as its panel shows it.
enum class LinkState : uint8_t {
    Ok,      // the last visit was read
    Stale,   // the last visit failed; the values are those of lastGoodReadMs
    Never,   // no good read since the address was set: there are no values
    Paused,  // this sensor's polling is paused for its parameter dialog
};

// A panel nobody tells anything shows its values as fresh.
struct SensorLink {
    LinkState state = LinkState::Ok;
    int64_t lastGoodReadMs = 0;  // calendar ms; 0 = none

    bool HasValues() const { return state == LinkState::Ok || lastGoodReadMs != 0; }
};

// The link of a sensor from what the poller holds for it, its own pause
// included.
SensorLink LinkOf(const SensorStatus& status, bool polling);

}  // namespace orsan
