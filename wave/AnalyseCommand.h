#pragma once

#include <array>
#include <iosfwd>
#include <optional>
#include <string>

#include "AnalysisCsv.h"
#include "WaveCaptureCommand.h"

namespace orsan {

// Exit codes of the analyse command.
enum AnalyseExit : int {
    kAnalyseOk = 0,
    kAnalyseUnreadable = 2,  // the file cannot be read, is no waveform file or too short
    kAnalyseWriteFailed = 3,
};

// The spectrum CSV of a tri-axis capture of `count` samples per axis
// (Welch over segmentLength samples, 0 for none); nullopt with *error when
// the capture is too short for it.
std::optional<std::string> SpectrumCsvOf(const std::array<const float*, 3>& axes, size_t count,
                                         double sampleRate, const std::string& captureTime,
                                         SpectrumKind kind, size_t segmentLength,
                                         std::string* error);

// For --capture --spectrum: the capture command writes the spectrum CSV
// ("…Hz_频谱_<kind>.csv" by default) instead of the waveform.
CaptureOutput SpectrumCaptureOutput(SpectrumKind kind, size_t segmentLength);

// Reads a waveform text file the station wrote (its name gives the sample
// rate and the capture time), analyses its three axes (Welch averaging over
// segmentLength samples, 0 for none) and writes the spectrum CSV of the
// chosen kind to outPath ("-" or empty: standard output). Reports the path
// on out (for a file), any failure on err.
int RunAnalyseCommand(const std::string& wavePath, SpectrumKind kind, size_t segmentLength,
                      const std::string& outPath, std::ostream& out, std::ostream& err);

}  // namespace orsan
