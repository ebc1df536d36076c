#include "CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cmath>
#include <string>

#include "IsoTimeText.h"
#include "Language.h"
#include "SensorEndpoint.h"

namespace orsan {

namespace {

// Options that only make sense with one mode, checked after parsing.
struct Belonging {
    const char* option;
    bool allowed;
    const char* owner;
};

// --from, --to and --format of the record export.
bool ParseExportRange(const QCommandLineParser& parser, const QCommandLineOption& from,
                      const QCommandLineOption& to, const QCommandLineOption& format,
                      CommandLine& result, QString* error) {
    const std::pair<const QCommandLineOption*, std::optional<int64_t>*> ends[] = {
        {&from, &result.exportFromMs}, {&to, &result.exportToMs}};
    for (const auto& [option, value] : ends) {
        if (!parser.isSet(*option)) continue;
        QString why;
        *value = ParseIsoInstant(parser.value(*option), &why);
        if (!*value) {
            *error = QStringLiteral("--%1 %2").arg(option->names().first(), why);
            return false;
        }
    }
    if (result.exportFromMs && result.exportToMs && *result.exportFromMs > *result.exportToMs) {
        *error = QStringLiteral("--from %1 lies after --to %2")
                     .arg(parser.value(from), parser.value(to));
        return false;
    }
    if (parser.isSet(format)) {
        const QString name = parser.value(format);
        if (name == QLatin1String("text")) {
            result.exportFormat = ExportFormat::Text;
        } else if (name == QLatin1String("csv")) {
            result.exportFormat = ExportFormat::Csv;
        } else {
            *error = QStringLiteral("--format needs text or csv, not \"%1\"").arg(name);
            return false;
        }
    }
    return true;
}

}  // namespace

QString UsageText() {
    return QStringLiteral(
        "usage: orsan-monitor [--data-dir DIR] [--lang zh_CN|en]\n"
        "       orsan-monitor --headless [--record] [--duration SEC] [--data-dir DIR]\n"
        "       orsan-monitor --export-sensor N [--from T] [--to T] [--format text|csv] "
        "[--out FILE|-] [--data-dir DIR]\n"
        "       orsan-monitor --export-alarms [--out FILE|-] [--data-dir DIR]\n"
        "       orsan-monitor --capture A.B.C.D --seconds N [--spectrum acc|vel|env] "
        "[--segment N] [--out FILE|-] [--wave-port P] [--data-dir DIR]\n"
        "       orsan-monitor --analyse FILE [--spectrum acc|vel|env] [--segment N] "
        "[--out FILE|-] [--data-dir DIR]\n"
        "       orsan-monitor --report [YYYY-MM-DD] [--out FILE] [--data-dir DIR]\n"
        "       orsan-monitor --check-config [--data-dir DIR]\n"
        "       orsan-monitor --help | --version\n"
        "every mode takes --lang zh_CN|en: the language of the window and the messages\n");
}

QString VersionText() {
    return QStringLiteral("orsan-monitor %1\n").arg(QLatin1String(ORSAN_VERSION));
}

bool ParseCommandLine(const QStringList& args, CommandLine& result, QString* error) {
    QString dummy;
    if (!error) error = &dummy;
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QString());
    const QCommandLineOption version(QStringLiteral("version"), QString());
    const QCommandLineOption headless(QStringLiteral("headless"), QString());
    const QCommandLineOption record(QStringLiteral("record"), QString());
    const QCommandLineOption dataDir(QStringLiteral("data-dir"), QString(), QStringLiteral("DIR"));
    const QCommandLineOption lang(QStringLiteral("lang"), QString(), QStringLiteral("LANG"));
    const QCommandLineOption duration(QStringLiteral("duration"), QString(), QStringLiteral("SEC"));
    const QCommandLineOption exportSensor(QStringLiteral("export-sensor"), QString(),
                                          QStringLiteral("N"));
    const QCommandLineOption capture(QStringLiteral("capture"), QString(),
                                     QStringLiteral("A.B.C.D"));
    const QCommandLineOption seconds(QStringLiteral("seconds"), QString(), QStringLiteral("N"));
    const QCommandLineOption wavePort(QStringLiteral("wave-port"), QString(), QStringLiteral("P"));
    const QCommandLineOption out(QStringLiteral("out"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption exportAlarms(QStringLiteral("export-alarms"), QString());
    const QCommandLineOption from(QStringLiteral("from"), QString(), QStringLiteral("T"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("T"));
    const QCommandLineOption format(QStringLiteral("format"), QString(), QStringLiteral("FORMAT"));
    const QCommandLineOption analyse(QStringLiteral("analyse"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption spectrum(QStringLiteral("spectrum"), QString(),
                                      QStringLiteral("KIND"));
    const QCommandLineOption segment(QStringLiteral("segment"), QString(), QStringLiteral("N"));
    const QCommandLineOption report(QStringLiteral("report"), QString(), QStringLiteral("DATE"));
    const QCommandLineOption checkConfig(QStringLiteral("check-config"), QString());

    QCommandLineParser parser;
    parser.addOptions({help,         version, headless, record,   dataDir, lang,         duration,
                       exportSensor, capture, seconds,  wavePort, out,     exportAlarms, from,
                       to,           format,  analyse,  spectrum, segment, report});
    parser.addOption(checkConfig);
    // A --report without a date (last, or followed by another option) is the
    // report of yesterday: an empty value, resolved when the report runs.
    QStringList given = args;
    for (qsizetype i = 0; i < given.size(); ++i)
        if (given[i] == QLatin1String("--report") &&
            (i + 1 == given.size() || given[i + 1].startsWith(u'-')))
            given[i] = QStringLiteral("--report=");
    // The parser expects the program name first.
    if (!parser.parse(QStringList{QStringLiteral("orsan-monitor")} + given)) {
        *error = parser.errorText();
        return false;
    }
    if (!parser.positionalArguments().isEmpty()) {
        *error =
            QStringLiteral("unknown argument \"%1\"").arg(parser.positionalArguments().first());
        return false;
    }
    result = CommandLine{};
    if (parser.isSet(help)) {
        result.mode = RunMode::Help;
        return true;
    }
    if (parser.isSet(version)) {
        result.mode = RunMode::Version;
        return true;
    }

    int modes = 0;
    if (parser.isSet(headless)) result.mode = RunMode::Headless, ++modes;
    if (parser.isSet(exportSensor)) result.mode = RunMode::ExportSensor, ++modes;
    if (parser.isSet(capture)) result.mode = RunMode::Capture, ++modes;
    if (parser.isSet(exportAlarms)) result.mode = RunMode::ExportAlarms, ++modes;
    if (parser.isSet(analyse)) result.mode = RunMode::Analyse, ++modes;
    if (parser.isSet(report)) result.mode = RunMode::Report, ++modes;
    if (parser.isSet(checkConfig)) result.mode = RunMode::CheckConfig, ++modes;
    if (modes > 1) {
        *error = QStringLiteral(
            "--headless, --export-sensor, --export-alarms, --capture, --analyse, --report and "
            "--check-config cannot be combined");
        return false;
    }

    result.record = parser.isSet(record);
    result.dataDir = parser.value(dataDir);
    result.language = parser.value(lang);
    if (parser.isSet(lang) && !LanguageFromCode(result.language)) {
        *error = QStringLiteral("--lang needs zh_CN or en, not \"%1\"").arg(result.language);
        return false;
    }
    result.outPath = parser.value(out);
    bool ok = true;
    if (parser.isSet(duration)) {
        result.durationSeconds = parser.value(duration).toDouble(&ok);
        if (!ok || !std::isfinite(result.durationSeconds) || result.durationSeconds <= 0) {
            *error = QStringLiteral("--duration needs a positive number of seconds, not \"%1\"")
                         .arg(parser.value(duration));
            return false;
        }
    }
    if (parser.isSet(exportSensor)) {
        result.exportSensor = parser.value(exportSensor).toInt(&ok);
        if (!ok || result.exportSensor < 1 || result.exportSensor > 6) {
            *error = QStringLiteral("--export-sensor needs a sensor number 1 to 6, not \"%1\"")
                         .arg(parser.value(exportSensor));
            return false;
        }
    }
    if (parser.isSet(capture) &&
        !ParseAddress(parser.value(capture).toStdString(), result.captureAddress)) {
        *error = QStringLiteral("--capture needs an IPv4 address A.B.C.D, not \"%1\"")
                     .arg(parser.value(capture));
        return false;
    }
    if (parser.isSet(seconds)) {
        result.captureSeconds = parser.value(seconds).toInt(&ok);
        if (!ok || result.captureSeconds < 1 || result.captureSeconds > 10) {
            *error = QStringLiteral("--seconds needs a whole number of seconds 1 to 10, not \"%1\"")
                         .arg(parser.value(seconds));
            return false;
        }
    }
    if (parser.isSet(wavePort)) {
        const int port = parser.value(wavePort).toInt(&ok);
        if (!ok || port < 1 || port > 65535) {
            *error = QStringLiteral("--wave-port needs a port 1 to 65535, not \"%1\"")
                         .arg(parser.value(wavePort));
            return false;
        }
        result.capturePort = uint16_t(port);
    }

    if (parser.isSet(report)) {
        // Only the form the usage names, so a day is never guessed from another spelling.
        const QString text = parser.value(report);
        result.reportDay = QDate::fromString(text, QStringLiteral("yyyy-MM-dd"));
        // Qt reads "-2026" as a year before Christ; no record holds such a day.
        if (!text.isEmpty() && (!result.reportDay.isValid() || result.reportDay.year() < 1970 ||
                                result.reportDay.year() > 9999)) {
            *error = QCoreApplication::translate(
                         "CommandLine",
                         "--report 需要一个日期 YYYY-MM-DD（例如 2024-05-01），而不是“%1”")
                         .arg(text);
            return false;
        }
    }

    if (!ParseExportRange(parser, from, to, format, result, error)) return false;
    result.analysePath = parser.value(analyse);
    if (parser.isSet(spectrum)) {
        result.spectrumGiven = true;
        result.spectrum = parser.value(spectrum);
        if (result.spectrum != QLatin1String("acc") && result.spectrum != QLatin1String("vel") &&
            result.spectrum != QLatin1String("env")) {
            *error =
                QStringLiteral("--spectrum needs acc, vel or env, not \"%1\"").arg(result.spectrum);
            return false;
        }
    }

    if (parser.isSet(segment)) {
        result.segmentLength = parser.value(segment).toInt(&ok);
        const int n = result.segmentLength;
        if (!ok || n < 8 || n > (1 << 24) || (n & (n - 1)) != 0) {
            *error = QStringLiteral("--segment needs a power of two from 8 to 16777216, not \"%1\"")
                         .arg(parser.value(segment));
            return false;
        }
    }

    if (result.mode == RunMode::Capture && !parser.isSet(seconds)) {
        *error = QStringLiteral("--capture needs --seconds N");
        return false;
    }
    const bool capturing = result.mode == RunMode::Capture;
    const bool exporting = result.mode == RunMode::ExportSensor ||
                           result.mode == RunMode::ExportAlarms ||
                           result.mode == RunMode::Analyse || result.mode == RunMode::Report;
    const Belonging belongings[] = {
        {"seconds", capturing, "--capture"},
        {"wave-port", capturing, "--capture"},
        {"record", result.mode == RunMode::Headless, "--headless"},
        {"duration", result.mode == RunMode::Headless, "--headless"},
        {"out", capturing || exporting,
         "--export-sensor, --export-alarms, --capture, --analyse or --report"},
        {"spectrum", result.mode == RunMode::Analyse || capturing, "--analyse or --capture"},
        {"segment", result.mode == RunMode::Analyse || parser.isSet(spectrum),
         "--analyse or --capture --spectrum"},
        {"from", result.mode == RunMode::ExportSensor, "--export-sensor"},
        {"to", result.mode == RunMode::ExportSensor, "--export-sensor"},
        {"format", result.mode == RunMode::ExportSensor, "--export-sensor"},
    };
    for (const Belonging& b : belongings) {
        if (parser.isSet(QLatin1String(b.option)) && !b.allowed) {
            *error = QStringLiteral("--%1 belongs to %2")
                         .arg(QLatin1String(b.option), QLatin1String(b.owner));
            return false;
        }
    }
    return true;
}

}  // namespace orsan
