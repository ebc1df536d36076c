#include "CommandLine.h"

#include <cmath>
#include <string>

#include "SensorEndpoint.h"

namespace orsan {

namespace {

bool TakeValue(const QStringList& args, int& i, QString& value, QString* error) {
    if (i + 1 >= args.size()) {
        *error = QStringLiteral("option %1 needs a value").arg(args[i]);
        return false;
    }
    value = args[++i];
    return true;
}

bool SetMode(CommandLine& result, RunMode mode, const QString& option, QString* error) {
    if (result.mode != RunMode::Window && result.mode != mode) {
        *error = QStringLiteral("option %1 cannot be combined with another mode").arg(option);
        return false;
    }
    result.mode = mode;
    return true;
}

}  // namespace

QString UsageText() {
    return QStringLiteral(
        "usage: orsan-monitor [--data-dir DIR]\n"
        "       orsan-monitor --headless [--record] [--duration SEC] [--data-dir DIR]\n"
        "       orsan-monitor --export-sensor N [--out FILE] [--data-dir DIR]\n"
        "       orsan-monitor --capture A.B.C.D --seconds N [--out FILE] [--wave-port P] [--data-dir DIR]\n");
}

bool ParseCommandLine(const QStringList& args, CommandLine& result, QString* error) {
    QString dummy;
    if (!error) error = &dummy;
    bool haveSeconds = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& option = args[i];
        QString value;
        if (option == QLatin1String("--help") || option == QLatin1String("-h")) {
            result = CommandLine{};
            result.mode = RunMode::Help;
            return true;
        }
        if (option == QLatin1String("--headless")) {
            if (!SetMode(result, RunMode::Headless, option, error)) return false;
        } else if (option == QLatin1String("--record")) {
            result.record = true;
        } else if (option == QLatin1String("--data-dir")) {
            if (!TakeValue(args, i, value, error)) return false;
            result.dataDir = value;
        } else if (option == QLatin1String("--duration")) {
            if (!TakeValue(args, i, value, error)) return false;
            bool ok = false;
            result.durationSeconds = value.toDouble(&ok);
            if (!ok || !std::isfinite(result.durationSeconds) || result.durationSeconds <= 0) {
                *error = QStringLiteral("--duration needs a positive number of seconds, not \"%1\"")
                             .arg(value);
                return false;
            }
        } else if (option == QLatin1String("--export-sensor")) {
            if (!SetMode(result, RunMode::ExportSensor, option, error)) return false;
            if (!TakeValue(args, i, value, error)) return false;
            bool ok = false;
            result.exportSensor = value.toInt(&ok);
            if (!ok || result.exportSensor < 1 || result.exportSensor > 6) {
                *error = QStringLiteral("--export-sensor needs a sensor number 1 to 6, not \"%1\"")
                             .arg(value);
                return false;
            }
        } else if (option == QLatin1String("--capture")) {
            if (!SetMode(result, RunMode::Capture, option, error)) return false;
            if (!TakeValue(args, i, value, error)) return false;
            if (!ParseAddress(value.toStdString(), result.captureAddress)) {
                *error = QStringLiteral("--capture needs an IPv4 address A.B.C.D, not \"%1\"")
                             .arg(value);
                return false;
            }
        } else if (option == QLatin1String("--seconds")) {
            if (!TakeValue(args, i, value, error)) return false;
            bool ok = false;
            result.captureSeconds = value.toInt(&ok);
            if (!ok || result.captureSeconds < 1 || result.captureSeconds > 10) {
                *error = QStringLiteral("--seconds needs a whole number of seconds 1 to 10, not \"%1\"")
                             .arg(value);
                return false;
            }
            haveSeconds = true;
        } else if (option == QLatin1String("--wave-port")) {
            if (!TakeValue(args, i, value, error)) return false;
            bool ok = false;
            const int port = value.toInt(&ok);
            if (!ok || port < 1 || port > 65535) {
                *error = QStringLiteral("--wave-port needs a port 1 to 65535, not \"%1\"").arg(value);
                return false;
            }
            result.capturePort = uint16_t(port);
        } else if (option == QLatin1String("--out")) {
            if (!TakeValue(args, i, value, error)) return false;
            result.outPath = value;
        } else {
            *error = QStringLiteral("unknown option \"%1\"").arg(option);
            return false;
        }
    }
    if (result.mode == RunMode::Capture && !haveSeconds) {
        *error = QStringLiteral("--capture needs --seconds N");
        return false;
    }
    if (result.mode != RunMode::Capture && haveSeconds) {
        *error = QStringLiteral("--seconds belongs to --capture");
        return false;
    }
    if (result.record && result.mode != RunMode::Headless) {
        *error = QStringLiteral("--record belongs to --headless");
        return false;
    }
    if (result.durationSeconds > 0 && result.mode != RunMode::Headless) {
        *error = QStringLiteral("--duration belongs to --headless");
        return false;
    }
    if (!result.outPath.isEmpty() && result.mode != RunMode::ExportSensor &&
        result.mode != RunMode::Capture) {
        *error = QStringLiteral("--out belongs to --export-sensor or --capture");
        return false;
    }
    return true;
}

}  // namespace orsan
