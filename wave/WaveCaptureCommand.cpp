#include "WaveCaptureCommand.h"

#include <filesystem>
#include <ostream>

#include "CoreText.h"
#include "OutputFile.h"
#include "SensorEndpoint.h"
#include "WaveFile.h"

namespace orsan {

CapturedWave CaptureWave(uint32_t sensorAddress, int seconds, WaveCaptureOptions options) {
    CapturedWave wave;
    WaveCapture capture(std::move(options));
    wave.startTime = std::time(nullptr);
    capture.Start(sensorAddress, seconds);
    capture.Wait();
    const WaveDrain drain = capture.State().Drain();
    const size_t n = drain.SampleCount();
    wave.x.resize(n);
    wave.y.resize(n);
    wave.z.resize(n);
    for (size_t k = 0; k < n; ++k) {
        wave.x[k] = drain.samples[3 * k];
        wave.y[k] = drain.samples[3 * k + 1];
        wave.z[k] = drain.samples[3 * k + 2];
    }
    wave.sampleRate = drain.sampleRate;
    wave.end = capture.End();
    wave.seconds = seconds;
    wave.dropped = capture.State().SamplesDropped();
    wave.discardedBytes = capture.BytesDiscarded();
    return wave;
}

WaveCaptureSummary CapturedWave::Summary() const {
    return {end, Count(), ExpectedWaveSamples(seconds, sampleRate), dropped, discardedBytes};
}

int RunCaptureCommand(uint32_t sensorAddress, int seconds, const std::string& outPath,
                      const std::string& defaultFolder, uint16_t port, std::ostream& out,
                      std::ostream& err, const CaptureOutput& output) {
    if (seconds < kWaveMinSeconds || seconds > kWaveMaxSeconds) {
        err << CoreText::translate("WaveCaptureCommand", "采集时长必须在%1到%2秒之间: %3")
                   .With({std::to_string(kWaveMinSeconds), std::to_string(kWaveMaxSeconds),
                          std::to_string(seconds)})
                   .Str()
            << "\n";
        return kCaptureBadArguments;
    }
    if (sensorAddress == 0) {
        err << CoreText::translate("WaveCaptureCommand", "传感器地址无效: 0.0.0.0").Str() << "\n";
        return kCaptureBadArguments;
    }
    WaveCaptureOptions options;
    options.port = port;
    options.trace = {};  // the per-receive diagnostics would drown the error text
    const CapturedWave wave = CaptureWave(sensorAddress, seconds, options);
    const std::string peer = FormatAddress(sensorAddress) + ":" + std::to_string(port);
    const WaveCaptureSummary summary = wave.Summary();
    if (wave.Count() == 0) {
        err << WaveCaptureProblemText(summary) << " (" << peer << ")\n";
        return kCaptureNoData;
    }
    if (wave.end == WaveCaptureEnd::Overran)
        err << CoreText::translate("WaveCapture", WaveCaptureEndText(wave.end)).Str() << " ("
            << peer << ")\n";
    if (summary.dropped > 0)
        err << CoreText::translate("WaveCaptureCommand", "缓冲区已满，丢弃 %1 点")
                   .With({std::to_string(summary.dropped)})
                   .Str()
            << "\n";
    if (summary.discardedBytes > 0)
        err << CoreText::translate("WaveCaptureCommand", "丢弃不完整数据包的 %1 字节")
                   .With({std::to_string(summary.discardedBytes)})
                   .Str()
            << "\n";
    const bool toStandardOutput = outPath == "-";
    std::string path = outPath;
    // A folder takes the file under its usual name, as the other exports do.
    std::error_code folderError;
    const bool intoFolder =
        !path.empty() && !toStandardOutput && std::filesystem::is_directory(path, folderError);
    if (path.empty() || intoFolder) {
        std::string folder = intoFolder ? outPath : defaultFolder;
        while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
        path = WaveFileName(folder, sensorAddress, FormatWaveStartTime(wave.startTime),
                            FormatWaveRate(wave.sampleRate));
        if (!output.nameEnding.empty()) path.replace(path.size() - 4, 4, output.nameEnding);
    }
    const std::string fileKind = output.fileKind.empty()
                                     ? CoreText::translate("WaveCaptureCommand", "波形文件").Str()
                                     : output.fileKind;
    std::string error;
    std::optional<std::string> text;
    if (output.build) {
        text = output.build(wave, &error);
    } else {
        text = BuildWaveFileText(wave.x.data(), wave.y.data(), wave.z.data(), wave.Count());
    }
    if (!text) {
        err << CoreText::translate("WaveCaptureCommand", "无法生成%1: %2 (%3)")
                   .With({fileKind, error, peer})
                   .Str()
            << "\n";
        return kCaptureNoData;
    }
    if (!WriteOutputFile(path, *text, error, OutputFile::Dash::StandardOutput)) {
        err << CoreText::translate("WaveCaptureCommand", "无法写入%1 %2: %3")
                   .With({fileKind, path, error})
                   .Str()
            << "\n";
        return kCaptureWriteFailed;
    }
    // Standard output carries the samples themselves, nothing else.
    if (!toStandardOutput) out << path << "\n";
    if (summary.CutShort()) {
        err << WaveCaptureProblemText(summary) << " (" << peer << ")\n";
        return kCaptureIncomplete;
    }
    return kCaptureOk;
}

}  // namespace orsan
