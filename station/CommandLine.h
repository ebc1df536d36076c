#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace orsan {

enum class RunMode {
    Window,
    Headless,
    ExportSensor,
    Capture,
    Help,
    Version,
    ExportAlarms,
    Analyse,
    Report,
    CheckConfig
};

enum class ExportFormat { Text, Csv };

struct CommandLine {
    RunMode mode = RunMode::Window;
    QString dataDir;               // --data-dir
    QString language;              // --lang zh_CN|en; empty: Config.ini [UI] LANG
    double durationSeconds = 0;    // --duration, 0 = until a signal
    bool record = false;           // --record
    int exportSensor = 0;          // --export-sensor N (1..6)
    uint32_t captureAddress = 0;   // --capture A.B.C.D
    int captureSeconds = 0;        // --seconds N
    uint16_t capturePort = 22010;  // --wave-port P (tests use the simulator's port)
    QString outPath;               // --out FILE
    // --from T / --to T of --export-sensor, milliseconds since 1970 UTC, both included.
    std::optional<int64_t> exportFromMs;
    std::optional<int64_t> exportToMs;
    ExportFormat exportFormat = ExportFormat::Text;  // --format text|csv
    QString analysePath;                             // --analyse FILE (a waveform text file)
    QString spectrum = QStringLiteral("acc");        // --spectrum acc|vel|env
    bool spectrumGiven = false;  // with --capture: the spectrum CSV instead of the waveform
    int segmentLength = 0;       // --segment N: Welch averaging over N-sample segments; 0 = none
    QDate reportDay;  // --report YYYY-MM-DD, a local day; invalid without one (yesterday)
};

// Parses the arguments after the program name (QCommandLineParser). False with *error set for
// unknown options, missing or malformed values and conflicting modes.
bool ParseCommandLine(const QStringList& arguments, CommandLine& result, QString* error);

QString UsageText();
// "orsan-monitor <version of the build>" and a newline.
QString VersionText();

}  // namespace orsan
