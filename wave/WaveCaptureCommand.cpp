#include "WaveCaptureCommand.h"

#include <ostream>

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
        err << "采集时长必须在" << kWaveMinSeconds << "到" << kWaveMaxSeconds
            << "秒之间: " << seconds << "\n";
        return kCaptureBadArguments;
    }
    if (sensorAddress == 0) {
        err << "传感器地址无效: 0.0.0.0\n";
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
        err << WaveCaptureEndText(wave.end) << " (" << peer << ")\n";
    if (summary.dropped > 0) err << "缓冲区已满，丢弃 " << summary.dropped << " 点\n";
    if (summary.discardedBytes > 0)
        err << "丢弃不完整数据包的 " << summary.discardedBytes << " 字节\n";
    const bool toStandardOutput = outPath == "-";
    std::string path = outPath;
    if (path.empty()) {
        path = WaveFileName(defaultFolder, sensorAddress, FormatWaveStartTime(wave.startTime),
                            FormatWaveRate(wave.sampleRate));
        if (!output.nameEnding.empty()) path.replace(path.size() - 4, 4, output.nameEnding);
    }
    const std::string fileKind = output.fileKind.empty() ? "波形文件" : output.fileKind;
    std::string error;
    std::optional<std::string> text;
    if (output.build) {
        text = output.build(wave, &error);
    } else {
        text = BuildWaveFileText(wave.x.data(), wave.y.data(), wave.z.data(), wave.Count());
    }
    if (!text) {
        err << "无法生成" << fileKind << ": " << error << " (" << peer << ")\n";
        return kCaptureNoData;
    }
    if (!WriteOutputFile(path, *text, error, OutputFile::Dash::StandardOutput)) {
        err << "无法写入" << fileKind << " " << path << ": " << error << "\n";
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
