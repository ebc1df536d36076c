#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <utility>

#include "AlarmForwarding.h"
#include "StationRegistry.h"
#include "TableAccess.h"

namespace orsan::store {

class LocalRecordSource;
class PgSession;

// What the forwarder sends besides the readings, each stream on its own: the
// claim on the station's name, the sensor names, the alarm events and the
// summary views over the readings. A
// stream that fails is told and retried after its own back-off while the rest
// goes on, so a broken or missing table stops only what needs it. Only a
// name held by another data folder stops the whole station: its rows would
// mix with that folder's.
class StationUpkeep {
public:
    StationUpkeep(std::string station, const std::string& databasePath, const std::string& target,
                  std::chrono::milliseconds firstRetry, std::chrono::milliseconds lastRetry);

    // A new connection: tables are checked, the name claimed and the
    // sensor names written again.
    void Reset();

    // Runs the streams that are due. Empty, or why nothing of this station may
    // go now: the name held by another folder, or the connection lost.
    std::string Run(LocalRecordSource& local, PgSession& session, SensorMask sensors,
                    const SensorNames& names);

    // The streams that fail meanwhile, each named, "；" between them.
    std::string Problems() const;

private:
    // The claim's last_seen is renewed this often on a long connection.
    static constexpr std::chrono::minutes kRenewClaim{10};

    std::string ClaimName(PgSession& session, bool* refused);

    StationClaimant claimant_;
    std::string databasePath_;
    std::optional<std::chrono::steady_clock::time_point> claimedAt_;
    std::optional<std::pair<SensorMask, SensorNames>> namesSent_;
    ForwardStream name_;
    ForwardStream sensorNames_;
    ForwardStream alarmEvents_;
    ForwardStream summaryViews_;
    bool viewsMade_ = false;
    AlarmForwarding alarms_;
};

}  // namespace orsan::store
