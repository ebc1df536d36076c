#include "StationConfig.h"

#include <QCoreApplication>
#include <QStringEncoder>
#include <cmath>
#include <functional>

namespace orsan {

namespace {
const QString kDaqSection = QStringLiteral("DAQ");
const QString kIntervalKey = QStringLiteral("INTERVAL");
const QString kRecordKey = QStringLiteral("RECORD");
const QString kKeepDaysKey = QStringLiteral("KEEP_DAYS");
const QString kSensorSection = QStringLiteral("SENSOR");
}  // namespace

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

namespace {

// A whole decimal integer (blanks around it aside), nullopt for anything
// else and for what a long long cannot hold.
std::optional<qlonglong> ParseWholeNumber(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype start = trimmed.startsWith(u'+') || trimmed.startsWith(u'-') ? 1 : 0;
    if (trimmed.size() == start) return std::nullopt;
    for (qsizetype i = start; i < trimmed.size(); ++i)
        if (trimmed[i] < u'0' || trimmed[i] > u'9') return std::nullopt;
    bool ok = false;
    const qlonglong value = trimmed.toLongLong(&ok);  // false on overflow
    return ok ? std::optional<qlonglong>(value) : std::nullopt;
}

}  // namespace

QString ConfigRefusal(const QString& section, const QString& key, const QString& value,
                      const QString& outcome) {
    return QCoreApplication::translate("StationConfig", "Config.ini [%1] %2=%3 无效：%4")
        .arg(section, key, value, outcome);
}

IniValue ReadCheckedInt(const INIFILE& config, const QString& section, const QString& key,
                        const std::function<bool(qlonglong)>& accepted, const QString& outcome,
                        QStringList* problems) {
    const QString text = config.GetString(section, key, QString()).trimmed();
    if (text.isEmpty()) return {IniValue::State::Missing, 0};
    const std::optional<qlonglong> value = ParseWholeNumber(text);
    if (value && accepted(*value)) return {IniValue::State::Accepted, int(*value)};
    if (problems) problems->append(ConfigRefusal(section, key, text, outcome));
    return {IniValue::State::Refused, 0};
}

namespace {

const auto kInRange = [](qlonglong min, qlonglong max) {
    return [min, max](qlonglong v) { return v >= min && v <= max; };
};

// Plain decimal seconds within the bounds; nullopt for anything else.
std::optional<float> ParseInterval(const QString& text) {
    const QString trimmed = text.trimmed();
    bool digits = false, point = false;
    for (const QChar c : trimmed) {
        if (c == u'.' && !point)
            point = true;
        else if (c >= u'0' && c <= u'9')
            digits = true;
        else
            return std::nullopt;
    }
    if (!digits) return std::nullopt;
    const float value = float(trimmed.toDouble());
    // The float 0.3 itself passes, as the lower bound has always been compared.
    if (double(value) < 0.3 || value > kMaxRecordInterval) return std::nullopt;
    return value;
}

}  // namespace

StationConfig LoadStationConfig(const INIFILE& config, QStringList* problems) {
    StationConfig result;
    for (int n = 1; n <= kSensorCount; ++n) {
        uint32_t address = 0;
        bool refused = false;
        for (int k = 1; k <= 4; ++k) {
            // A wrapped octet would be another host: one bad octet and the
            // sensor stays unconfigured.
            const IniValue octet = ReadCheckedInt(
                config, kSensorSection, OctetKey(n, k), kInRange(0, 255),
                QCoreApplication::translate("StationConfig",
                                            "应为 0 到 255 的整数，传感器%1未配置（0.0.0.0）")
                    .arg(n),
                problems);
            refused = refused || octet.state == IniValue::State::Refused;
            address |= uint32_t(octet.value) << (8 * (k - 1));
        }
        result.addresses[n - 1] = refused ? 0 : address;
        const IniValue port = ReadCheckedInt(
            config, kSensorSection, PortKey(n), kInRange(1, 65535),
            QCoreApplication::translate("StationConfig", "应为 1 到 65535 的整数，按默认端口 502"),
            problems);
        if (port.state == IniValue::State::Accepted) result.ports[n - 1] = uint16_t(port.value);
    }
    // "INTERVAL=" is refused too: it was 0.3 s without a word.
    const QString missing = QStringLiteral("\u0001");
    const QString intervalText = config.GetString(kDaqSection, kIntervalKey, missing).trimmed();
    if (const std::optional<float> interval = ParseInterval(intervalText))
        result.interval = *interval;
    else if (problems && intervalText != missing)
        problems->append(ConfigRefusal(
            kDaqSection, kIntervalKey, intervalText,
            QCoreApplication::translate("StationConfig", "应为 %1 到 %2 的秒数，按默认 %1 秒")
                .arg(FormatInterval(kMinRecordInterval))
                .arg(double(kMaxRecordInterval))));
    result.intervalWholeSeconds = int(result.interval);
    result.names = LoadSensorNames(config);
    result.recording =
        ReadCheckedInt(
            config, kDaqSection, kRecordKey, kInRange(0, 1),
            QCoreApplication::translate("StationConfig", "应为 0 或 1，按 0（不续记录）"), problems)
            .value == 1;
    result.links = LoadSensorLinks(config, problems);
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
