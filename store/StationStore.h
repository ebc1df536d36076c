#pragma once

#include <QString>
#include <array>
#include <memory>
#include <vector>

#include "ServerSettings.h"
#include "StoreForwarder.h"

namespace orsan {

// The window's forwarder: started from the server settings, started again
// when they change, told when rows were written and when the addresses
// change. A replaced forwarder stops in the background, so the UI thread
// never waits on the network; only the destructor waits (the drain time).
class StationStore {
public:
    explicit StationStore(QString dataDir) : dataDir_(std::move(dataDir)) {}
    ~StationStore();
    StationStore(const StationStore&) = delete;
    StationStore& operator=(const StationStore&) = delete;

    void Start(const ServerSettings& settings, const std::array<uint32_t, kSensorCount>& addresses,
               const SensorNames& names);
    // A viewer: the folder's recorder forwards, nothing is started here;
    // the status says so when a server is configured.
    void LeaveToRecorder(const ServerSettings& settings) {
        settings_ = settings;
        leftToRecorder_ = true;
    }
    // The configured sensors and their machine names, as saved together.
    void SetMachines(const std::array<uint32_t, kSensorCount>& addresses, const SensorNames& names);
    void Wake();

    // NotConfigured without a server, LeftToRecorder in a viewer. Also lets go of replaced
    // forwarders that have finished.
    store::StoreStatus Status();
    const ServerSettings& Settings() const { return settings_; }

private:
    QString dataDir_;
    ServerSettings settings_;
    std::unique_ptr<store::StoreForwarder> current_;
    bool leftToRecorder_ = false;
    std::vector<std::unique_ptr<store::StoreForwarder>> retiring_;
};

}  // namespace orsan
