#pragma once

#include <memory>
#include <string>
#include <vector>

#include "SimulatedSensor.h"

namespace orsan::sim {

// One operator command from stdin; returns the single reply line ("OK ..." or
// "ERR ..."), without the newline. Sets `quit` for "quit".
std::string RunCommand(const std::string& line,
                       const std::vector<std::unique_ptr<SimulatedSensor>>& sensors, bool& quit);

}  // namespace orsan::sim
