#include "SensorLink.h"

namespace orsan {

SensorLink LinkOf(const SensorStatus& status, bool polling) {
    SensorLink link;
    link.lastGoodReadMs = status.lastGoodReadMs;
    if (polling && status.paused) {
        link.state = LinkState::Paused;
    } else if (status.record.CommOk) {
        link.state = LinkState::Ok;
    } else if (status.lastGoodReadMs == 0) {
        link.state = LinkState::Never;
    } else {
        link.state = LinkState::Stale;
    }
    return link;
}

}  // namespace orsan
