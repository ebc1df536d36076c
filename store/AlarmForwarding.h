#pragma once

#include <string>

#include "LocalRecordSource.h"

namespace orsan::store {

class PgSession;

// The station's alarm events on their way to `alarm_events`: checks the
// server table once per connection, keeps its own position beside the
// readings' one, and sends what the server has not confirmed.
class AlarmForwarding {
public:
    explicit AlarmForwarding(std::string target) : target_(std::move(target)) {}

    // A new connection: the server table is checked again.
    void Reset() { ready_ = false; }

    // Sends the events written since the last call, when the station keeps
    // an alarm table. Empty, or why nothing was sent.
    std::string Forward(LocalRecordSource& local, PgSession& session, const std::string& station);

private:
    std::string target_;
    ForwardPosition position_;
    bool ready_ = false;
};

}  // namespace orsan::store
