#include "StationConfig.h"

#include <QCoreApplication>
#include <QStringEncoder>
#include <cmath>

namespace orsan {

namespace {
const QString kDaqSection = QStringLiteral("DAQ");
const QString kIntervalKey = QStringLiteral("INTERVAL");
const QString kRecordKey = QStringLiteral("RECORD");
const QString kKeepDaysKey = QStringLiteral("KEEP_DAYS");
const QString kSensorSection = QStringLiteral("SENSOR");
}  // namespace

float ClampLoadedInterval(double seconds) {
    const float value = float(seconds);
    if (double(value) < 0.3) return kMinRecordInterval;
    if (value > kMaxRecordInterval) return kMaxRecordInterval;
    return value;
}

bool IsAcceptableInterval(float seconds) {
    if (std::isnan(seconds)) return false;
    // The float is compared with the double 0.9999, so 0.9999 typed in (which
    // becomes 0.99989998 as a float) is below the bound.
    return !(double(seconds) < 0.9999 || seconds > kMaxRecordInterval);
}

QString FormatInterval(float seconds) {
    return QString::asprintf("%1.1f", double(seconds));
}

QString OctetKey(int sensor, int octet) {
    return QStringLiteral("ID%1IP%2").arg(sensor).arg(octet);
}

QString PortKey(int sensor) {
    return QStringLiteral("ID%1PORT").arg(sensor);
}

QString ConfigPath(const QString& folder) {
    return folder + QStringLiteral("/Config.ini");
}
QString InfoPath(const QString& folder) {
    return folder + QStringLiteral("/bq_Info.ini");
}

StationConfig LoadStationConfig(const INIFILE& config) {
    StationConfig result;
    const QString intervalText = config.GetString(kDaqSection, kIntervalKey, QStringLiteral("0.3"));
    for (int n = 1; n <= kSensorCount; ++n) {
        uint32_t address = 0;
        for (int k = 1; k <= 4; ++k) {
            const uint32_t octet = uint32_t(config.GetInt(kSensorSection, OctetKey(n, k))) & 0xFF;
            address |= octet << (8 * (k - 1));
        }
        result.addresses[n - 1] = address;
        const int port = config.GetInt(kSensorSection, PortKey(n));
        result.ports[n - 1] = (port >= 1 && port <= 65535) ? uint16_t(port) : uint16_t(502);
    }
    result.interval = ClampLoadedInterval(ParseIniDouble(intervalText));
    result.intervalWholeSeconds = int(result.interval);
    result.names = LoadSensorNames(config);
    result.recording = config.GetInt(kDaqSection, kRecordKey) != 0;
    result.links = LoadSensorLinks(config, &result.problems);
    return result;
}

bool SaveAddresses(INIFILE& config, const std::array<uint32_t, kSensorCount>& addresses) {
    bool ok = true;
    for (int n = 1; n <= kSensorCount; ++n) {
        for (int k = 1; k <= 4; ++k) {
            const int octet = int((addresses[n - 1] >> (8 * (k - 1))) & 0xFF);
            ok = config.WriteInt(kSensorSection, OctetKey(n, k), octet) && ok;
        }
    }
    return ok;
}

bool SaveInterval(INIFILE& config, float seconds) {
    return config.WriteString(kDaqSection, kIntervalKey, FormatInterval(seconds));
}

bool SaveRecording(INIFILE& config, bool on) {
    return config.WriteInt(kDaqSection, kRecordKey, on ? 1 : 0);
}

std::optional<int> LoadKeepDays(const INIFILE& config, QString* error) {
    const QString text = config.GetString(kDaqSection, kKeepDaysKey, QString()).trimmed();
    if (text.isEmpty()) return 0;
    bool digitsOnly = true;
    for (const QChar c : text) digitsOnly = digitsOnly && c >= u'0' && c <= u'9';
    bool ok = false;
    const int days = digitsOnly ? text.toInt(&ok) : -1;
    if (ok && days <= kMaxKeepDays) return days;
    if (error)
        *error = QCoreApplication::translate(
                     "StationConfig",
                     "Config.ini [DAQ] KEEP_DAYS=%1 无效：应为 0 到 %2 的整数天数（0 为保留全部）。"
                     "本次不删除任何记录。")
                     .arg(text)
                     .arg(kMaxKeepDays);
    return std::nullopt;
}

QString LoadTitle(const INIFILE& info) {
    const QString title =
        info.GetString(QStringLiteral("TITLE"), QStringLiteral("NAME"),
                       QCoreApplication::translate("StationConfig", kDefaultTitle));
    QString cut;
    int bytes = 0;
    for (int i = 0; i < title.size();) {
        const int length = title.at(i).isHighSurrogate() && i + 1 < title.size() ? 2 : 1;
        const QString piece = title.mid(i, length);
        QStringEncoder encoder("GB18030");
        bytes += int(QByteArray(encoder.encode(piece)).size());
        if (bytes > kMaxTitleBytes) break;
        cut += piece;
        i += length;
    }
    return cut;
}

}  // namespace orsan
