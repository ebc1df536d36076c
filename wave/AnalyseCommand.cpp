#include "AnalyseCommand.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>

#include "CoreText.h"
#include "OutputFile.h"
#include "WaveFile.h"

namespace orsan {

std::optional<std::string> SpectrumCsvOf(const std::array<const float*, 3>& axes, size_t count,
                                         double sampleRate, const std::string& captureTime,
                                         SpectrumKind kind, size_t segmentLength,
                                         std::string* error) {
    AnalysisSettings settings;
    settings.envelope = kind == SpectrumKind::Envelope;
    settings.segmentLength = segmentLength;
    AnalysisCsvSource source;
    source.sampleRate = sampleRate;
    source.captureTime = captureTime;
    source.envelopeLowHz = settings.envelopeLowHz;
    source.envelopeHighHz = 0.4 * sampleRate;
    WaveAnalyser analyser;
    std::array<AxisAnalysis, 3> analyses;
    for (size_t a = 0; a < 3; ++a) {
        auto analysis = analyser.Analyse(axes[a], count, sampleRate, settings, error);
        if (!analysis) return std::nullopt;
        analyses[a] = std::move(*analysis);
    }
    return BuildSpectrumCsv(analyses, kind, source);
}

CaptureOutput SpectrumCaptureOutput(SpectrumKind kind, size_t segmentLength) {
    CaptureOutput output;
    output.build = [kind, segmentLength](const CapturedWave& wave, std::string* error) {
        return SpectrumCsvOf({wave.x.data(), wave.y.data(), wave.z.data()}, wave.Count(),
                             wave.sampleRate, FormatWaveStartTime(wave.startTime), kind,
                             segmentLength, error);
    };
    output.nameEnding = "_频谱_" + std::string(SpectrumKindName(kind)) + ".csv";
    output.fileKind = CoreText::translate("AnalyseCommand", "频谱文件");
    return output;
}

int RunAnalyseCommand(const std::string& wavePath, SpectrumKind kind, size_t segmentLength,
                      const std::string& outPath, std::ostream& out, std::ostream& err) {
    std::ifstream file(wavePath, std::ios::binary);
    std::string content;
    if (file) content.assign(std::istreambuf_iterator<char>(file), {});
    if (!file && !file.eof()) {
        err << CoreText::translate("AnalyseCommand", "无法读取波形文件 %1: %2")
                   .With({wavePath, std::strerror(errno)})
                   .Str()
            << "\n";
        return kAnalyseUnreadable;
    }
    const std::optional<double> rate = WaveFileRateFromName(wavePath);
    if (!rate) {
        err << CoreText::translate("AnalyseCommand",
                                   "波形文件名中没有采样率 (…采样率<Hz>Hz.txt): %1")
                   .With({wavePath})
                   .Str()
            << "\n";
        return kAnalyseUnreadable;
    }
    const std::string timeText = WaveFileTimeFromName(wavePath);
    if (!timeText.empty() && !IsWaveTimeText(timeText)) {
        err << CoreText::translate("AnalyseCommand", "波形文件名中的时间无效: %1")
                   .With({wavePath})
                   .Str()
            << "\n";
        return kAnalyseUnreadable;
    }
    std::string error;
    const std::optional<WaveFileSamples> samples = ParseWaveFileText(content, &error);
    if (!samples) {
        err << error << " (" << wavePath << ")\n";
        return kAnalyseUnreadable;
    }

    const std::optional<std::string> csv =
        SpectrumCsvOf({samples->x.data(), samples->y.data(), samples->z.data()}, samples->x.size(),
                      *rate, timeText, kind, segmentLength, &error);
    if (!csv) {
        err << error << " (" << wavePath << ")\n";
        return kAnalyseUnreadable;
    }

    const std::string path = outPath.empty() ? "-" : outPath;
    if (!WriteOutputFile(path, *csv, error, OutputFile::Dash::StandardOutput)) {
        err << CoreText::translate("AnalyseCommand", "无法写入频谱文件 %1: %2")
                   .With({path, error})
                   .Str()
            << "\n";
        return kAnalyseWriteFailed;
    }
    if (path != "-") out << path << "\n";
    return kAnalyseOk;
}

}  // namespace orsan
