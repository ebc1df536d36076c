#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>

#include "WaveProtocol.h"

namespace orsan {

// `--capture A.B.C.D --seconds N [--out FILE]`: captures without a window and
// writes the waveform file (the standard name in DesktopDir() when outPath is
// empty). stdout gets the path; returns 0, or a CaptureExit code with the
// reason on err.
int RunCaptureCommand(uint32_t address, int seconds, const std::string& outPath, uint16_t port,
                      std::ostream& out, std::ostream& err);

}  // namespace orsan
