#pragma once

#include <iosfwd>
#include <string>

#include "AnalysisCsv.h"

namespace orsan {

// Exit codes of the analyse command.
enum AnalyseExit : int {
    kAnalyseOk = 0,
    kAnalyseUnreadable = 2,  // the file cannot be read, is no waveform file or too short
    kAnalyseWriteFailed = 3,
};

// Reads a waveform text file the station wrote (its name gives the sample
// rate and the capture time), analyses its three axes (Welch averaging over
// segmentLength samples, 0 for none) and writes the spectrum CSV of the
// chosen kind to outPath ("-" or empty: standard output). Reports the path
// on out (for a file), any failure on err.
int RunAnalyseCommand(const std::string& wavePath, SpectrumKind kind, size_t segmentLength,
                      const std::string& outPath, std::ostream& out, std::ostream& err);

}  // namespace orsan
