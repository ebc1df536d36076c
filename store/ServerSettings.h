#pragma once

#include <QString>
#include <memory>

#include "IniFile.h"
#include "StationConfig.h"
#include "StoreForwarder.h"

namespace orsan {

// The optional [SERVER] section of Config.ini: CONNINFO, a libpq connection
// string (never with a password: libpq reads ~/.pgpass, PGPASSFILE or
// PGPASSWORD itself), and STATION, this station's name on the server.
struct ServerSettings {
    QString conninfo;
    QString station;  // the host name when the key is missing or empty

    bool IsConfigured() const { return !conninfo.trimmed().isEmpty(); }
};

ServerSettings LoadServerSettings(const INIFILE& config);
bool SaveServerSettings(INIFILE& config, const ServerSettings& settings);
QString DefaultStationName();

// Sensors with an address other than 0.0.0.0.
store::SensorMask ConfiguredSensors(const std::array<uint32_t, kSensorCount>& addresses);

// The forwarder for the station in `dataDir`, or null when no server is
// configured.
std::unique_ptr<store::StoreForwarder> StartStoreForwarder(
    const QString& dataDir, const ServerSettings& settings,
    const std::array<uint32_t, kSensorCount>& addresses, const SensorNames& names = {},
    std::function<void(const store::StoreStatus&)> onChange = {});

// The machine names as the server's sensors table keeps them.
store::SensorNames StoreSensorNames(const SensorNames& names);

// The headless station's forwarder from dataDir/Config.ini, or null when no
// server is configured; connections and new errors go to standard error,
// one line each.
std::unique_ptr<store::StoreForwarder> StartStationStore(const QString& dataDir);

}  // namespace orsan
