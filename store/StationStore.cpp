#include "StationStore.h"

#include <algorithm>

namespace orsan {

StationStore::~StationStore() {
    if (current_) current_->Stop();
    retiring_.clear();
}

void StationStore::Start(const ServerSettings& settings,
                         const std::array<uint32_t, kSensorCount>& addresses,
                         const SensorNames& names) {
    if (current_) {
        // What it has not sent, the new one sends: the position is kept locally.
        current_->RequestStop(std::chrono::milliseconds(0));
        retiring_.push_back(std::move(current_));
    }
    settings_ = settings;
    current_ = StartStoreForwarder(dataDir_, settings, addresses, names);
}

void StationStore::SetMachines(const std::array<uint32_t, kSensorCount>& addresses,
                               const SensorNames& names) {
    if (!current_) return;
    current_->SetSensors(ConfiguredSensors(addresses));
    current_->SetSensorNames(StoreSensorNames(names));
}

void StationStore::Wake() {
    if (current_) current_->Wake();
}

store::StoreStatus StationStore::Status() {
    retiring_.erase(std::remove_if(retiring_.begin(), retiring_.end(),
                                   [](const auto& f) { return f->Finished(); }),
                    retiring_.end());
    if (!current_) {
        store::StoreStatus none;
        if (leftToRecorder_ && settings_.IsConfigured())
            none.state = store::StoreState::LeftToRecorder;
        return none;
    }
    return current_->Status();
}

}  // namespace orsan
