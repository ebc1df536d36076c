#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SimulatedSensor.h"

namespace orsan::sim {

// One operator command from stdin; returns the single reply line ("OK ..." or
// "ERR ..."), without the newline. Sets `quit` for "quit".
std::string RunCommand(const std::string& line,
                       const std::vector<std::unique_ptr<SimulatedSensor>>& sensors, bool& quit);

inline constexpr size_t kMaxCommandLine = 4096;

// Cuts operator input into lines (without the line end, "\r\n" or "\n").
// A line longer than kMaxCommandLine is not held: it comes out once, as
// nullopt, when it grows past the limit, and the rest of it is dropped up to
// its line end, so input without line breaks costs bounded memory and time.
class CommandLines {
public:
    std::vector<std::optional<std::string>> Feed(std::string_view data);

private:
    std::string pending_;
    bool overlong_ = false;
};

}  // namespace orsan::sim
