#pragma once

#include <string>

#include "LocalRecordSource.h"

namespace orsan::store {

class PgSession;

// The station's alarm events on their way to `alarm_events`: checks the
// server table once per connection, keeps its own positions beside the
// readings' one, and sends what the server has not confirmed: the events,
// then the acknowledgements made since (who and when, on the events'
// server rows).
class AlarmForwarding {
public:
    explicit AlarmForwarding(std::string target)
        : target_(std::move(target)), ackTarget_(target_ + "#ack") {}

    // A new connection: the server table is checked again.
    void Reset() {
        ready_ = false;
        ackReady_ = false;
    }

    // Sends the events written since the last call, when the station keeps
    // an alarm table. Empty, or why nothing was sent.
    std::string Forward(LocalRecordSource& local, PgSession& session, const std::string& station);

private:
    std::string ForwardAcknowledgements(LocalRecordSource& local, PgSession& session,
                                        const std::string& station);

    std::string target_;
    std::string ackTarget_;
    ForwardPosition position_;
    ForwardPosition ackPosition_;
    bool ready_ = false;
    bool ackReady_ = false;
};

}  // namespace orsan::store
