#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "SensorModel.h"

namespace orsan::sim {

using ConfigValues = std::vector<std::pair<int, uint16_t>>;

// The configuration registers each sensor has saved, kept in one text file:
// "SENSOR REGISTER VALUE" per line. A sensor's entry changes only when that
// sensor saves, as a real sensor keeps its own flash.
class StateStore {
public:
    // An empty path stores nothing (saves still succeed, as with no flash to
    // fail).
    explicit StateStore(std::string path);

    // Reads the file when present. Lines that make no sense are reported in
    // `warnings` and skipped; false only when an existing file cannot be read.
    bool Load(std::vector<std::string>& warnings);
    // The saved values of one sensor (empty when it never saved).
    ConfigValues Saved(int sensor) const;
    // Records the sensor's values and rewrites the file atomically.
    bool Save(int sensor, const ConfigValues& values, std::string& error);

private:
    bool WriteFileLocked(std::string& error) const;

    const std::string path_;
    mutable std::mutex mutex_;
    std::map<int, ConfigValues> saved_;
};

}  // namespace orsan::sim
