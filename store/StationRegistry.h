#pragma once

#include <array>
#include <optional>
#include <string>

#include "LocalRecord.h"

namespace orsan::store {

class PgSession;
struct ServerTable;

// stations: which data folder holds which station name, on which host,
// first and last seen. A name belongs to the first folder that claimed it.
const ServerTable& StationsTable();
// sensors: the machine name of each configured sensor of a station (NULL
// for a sensor without one).
const ServerTable& SensorsTable();

// The identity of the data folder whose DataRecord.db is `databasePath`: a
// random id made once and kept there (table store_identity), so two folders
// on one host, both named after it by default, are told apart. Never
// creates the file: the station does.
std::optional<std::string> LoadFolderIdentity(const std::string& databasePath, std::string* error);

// This machine's name, as the stations table shows it.
std::string LocalHostName();

struct StationClaimant {
    std::string station;
    std::string host;
    std::string folderId;
    std::string folderPath;
};

struct ClaimAnswer {
    // Another folder holds the name: nothing of this station may go, its
    // rows would mix with that folder's.
    bool refused = false;
    std::string error;  // the refusal, or why the name could not be checked; empty = held
};

// Who holds `station` on the server; empty when nobody does (or there is
// no table yet), nullopt with *error when it cannot be read.
std::optional<StationClaimant> StationHolder(PgSession& session, const std::string& station,
                                             std::string* error);

// "站点名 … 已被 … 使用": the refusal naming the holder.
std::string NameHeldText(const StationClaimant& holder);

// Claims the name for this folder, or renews its last_seen when it holds it
// already. Creates the table when missing and the login may.
ClaimAnswer ClaimStation(PgSession& session, const StationClaimant& claimant);

using SensorNames = std::array<std::string, kStoreSensors>;

// Writes the name of every configured sensor. Empty, or why not.
std::string SaveSensorNames(PgSession& session, const std::string& station, SensorMask sensors,
                            const SensorNames& names);

}  // namespace orsan::store
