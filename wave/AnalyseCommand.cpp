#include "AnalyseCommand.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <ostream>
#include <sstream>

#include "OutputFile.h"
#include "WaveFile.h"

namespace orsan {

int RunAnalyseCommand(const std::string& wavePath, SpectrumKind kind, size_t segmentLength,
                      const std::string& outPath, std::ostream& out, std::ostream& err) {
    std::ifstream file(wavePath, std::ios::binary);
    std::ostringstream content;
    if (!file || !(content << file.rdbuf())) {
        err << "无法读取波形文件 " << wavePath << ": " << std::strerror(errno) << "\n";
        return kAnalyseUnreadable;
    }
    const std::optional<double> rate = WaveFileRateFromName(wavePath);
    if (!rate) {
        err << "波形文件名中没有采样率 (…采样率<Hz>Hz.txt): " << wavePath << "\n";
        return kAnalyseUnreadable;
    }
    std::string error;
    const std::optional<WaveFileSamples> samples = ParseWaveFileText(content.str(), &error);
    if (!samples) {
        err << error << " (" << wavePath << ")\n";
        return kAnalyseUnreadable;
    }

    AnalysisSettings settings;
    settings.envelope = kind == SpectrumKind::Envelope;
    settings.segmentLength = segmentLength;
    AnalysisCsvSource source;
    source.sampleRate = *rate;
    source.captureTime = WaveFileTimeFromName(wavePath);
    source.envelopeLowHz = settings.envelopeLowHz;
    source.envelopeHighHz = 0.4 * *rate;
    WaveAnalyser analyser;
    std::array<AxisAnalysis, 3> axes;
    const std::vector<float>* axis[] = {&samples->x, &samples->y, &samples->z};
    for (size_t a = 0; a < 3; ++a) {
        auto analysis = analyser.Analyse(axis[a]->data(), axis[a]->size(), *rate, settings, &error);
        if (!analysis) {
            err << error << " (" << wavePath << ")\n";
            return kAnalyseUnreadable;
        }
        axes[a] = std::move(*analysis);
    }

    const std::string path = outPath.empty() ? "-" : outPath;
    if (!WriteOutputFile(path, BuildSpectrumCsv(axes, kind, source), error,
                         OutputFile::Dash::StandardOutput)) {
        err << "无法写入频谱文件 " << path << ": " << error << "\n";
        return kAnalyseWriteFailed;
    }
    if (path != "-") out << path << "\n";
    return kAnalyseOk;
}

}  // namespace orsan
