#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "WaveCapture.h"

namespace orsan {

// A finished capture, split into the three axes.
struct CapturedWave {
    std::vector<float> x, y, z;
    float sampleRate = kWaveResetSampleRate;
    std::time_t startTime = 0;
    WaveCaptureEnd end = WaveCaptureEnd::None;
    int seconds = 0;
    size_t dropped = 0;         // samples beyond the room of the buffer
    size_t discardedBytes = 0;  // of an unfinished last packet
    size_t Count() const { return x.size(); }
    WaveCaptureSummary Summary() const;
};

// Runs one capture to its end on the calling thread (the capture thread does
// the receiving) and returns what arrived.
CapturedWave CaptureWave(uint32_t sensorAddress, int seconds, WaveCaptureOptions options);

// Exit codes of the capture command.
enum CaptureExit : int {
    kCaptureOk = 0,
    kCaptureBadArguments = 1,
    kCaptureNoData = 2,       // no connection, request refused, or no complete packet
    kCaptureWriteFailed = 3,  // the file could not be written
    kCaptureIncomplete = 4,   // cut short (stall, close inside a packet, fewer samples than
                              // asked); the file holds what came
};

// What the capture command writes. Empty: the waveform text file; an
// analysis above this core gives its own text (say, a spectrum) and names.
struct CaptureOutput {
    // The file's text, or nullopt with *error when the capture cannot give it.
    std::function<std::optional<std::string>(const CapturedWave&, std::string* error)> build;
    std::string nameEnding;  // replaces ".txt" of the standard waveform file name
    std::string fileKind;    // "频谱文件" in messages, instead of "波形文件"
};

// Captures `seconds` (1 to 10) from the sensor and writes the waveform file
// (or what `output` makes of the capture):
// to outPath ("-" is standard output; a device or FIFO is written in place),
// or under the standard name in defaultFolder when outPath is empty. The
// capture ends at the duration plus a short grace even if the sensor keeps
// sending. Reports the path on out (not for "-"), samples dropped and any
// failure on err; returns a CaptureExit.
int RunCaptureCommand(uint32_t sensorAddress, int seconds, const std::string& outPath,
                      const std::string& defaultFolder, uint16_t port, std::ostream& out,
                      std::ostream& err, const CaptureOutput& output = {});

}  // namespace orsan
