#include "SensorLinks.h"

#include <QCoreApplication>
#include <optional>

namespace orsan {

namespace {

const QString kConfigFile = QStringLiteral("Config.ini");
const QString kDaqSection = QStringLiteral("DAQ");
const QString kSensorSection = QStringLiteral("SENSOR");

// A whole decimal number (blanks around it aside), or nullopt. Anything
// more is refused rather than read as its leading digits ("400ms").
std::optional<int> WholeNumber(const QString& text) {
    if (text.isEmpty() || text.size() > 9) return std::nullopt;
    for (const QChar c : text)
        if (c < u'0' || c > u'9') return std::nullopt;
    return text.toInt();
}

// The value of one key within [low, high] (or equal to also), else
// fallback, refusals noted. reason holds %1 and %2 for the bounds, %3 for
// what is used instead.
int LoadBounded(const INIFILE& config, const QString& section, const QString& key, int low,
                int high, int also, int fallback, const char* reason, QStringList* problems) {
    const QString text = config.GetString(section, key, QString()).trimmed();
    if (text.isEmpty()) return fallback;
    const std::optional<int> value = WholeNumber(text);
    if (value && ((*value >= low && *value <= high) || *value == also)) return *value;
    if (problems)
        problems->append(QCoreApplication::translate("SensorLinks", "%1 [%2] %3=%4 无效：%5")
                             .arg(kConfigFile, section, key, text,
                                  QCoreApplication::translate("SensorLinks", reason)
                                      .arg(low)
                                      .arg(high)
                                      .arg(fallback)));
    return fallback;
}

constexpr char kTimeoutReason[] =
    QT_TRANSLATE_NOOP("SensorLinks", "应答时限须为 %1 到 %2 之间的整数毫秒，已用 %3 毫秒");
constexpr char kUnitReason[] =
    QT_TRANSLATE_NOOP("SensorLinks", "单元号须为 %1 到 %2 之间的整数或 255，已用 %3");

}  // namespace

QString TimeoutKey() {
    return QStringLiteral("TIMEOUT_MS");
}

QString SensorTimeoutKey(int sensor) {
    return QStringLiteral("ID%1TIMEOUT_MS").arg(sensor);
}

QString UnitKey(int sensor) {
    return QStringLiteral("ID%1UNIT").arg(sensor);
}

SensorLinks LoadSensorLinks(const INIFILE& config, QStringList* problems) {
    SensorLinks links;
    const int common =
        LoadBounded(config, kDaqSection, TimeoutKey(), kMinAnswerLimitMs, kMaxAnswerLimitMs, -1,
                    kDefaultAnswerLimitMs, kTimeoutReason, problems);
    for (int n = 1; n <= kSensorCount; ++n) {
        links.answerLimitsMs[size_t(n - 1)] =
            LoadBounded(config, kSensorSection, SensorTimeoutKey(n), kMinAnswerLimitMs,
                        kMaxAnswerLimitMs, -1, common, kTimeoutReason, problems);
        links.unitIds[size_t(n - 1)] =
            uint8_t(LoadBounded(config, kSensorSection, UnitKey(n), 1, kMaxGatewayUnitId,
                                kDirectUnitId, kDefaultUnitId, kUnitReason, problems));
    }
    return links;
}

SensorEndpoint LinkedEndpoint(const SensorLinks& links, int sensor, uint32_t address,
                              uint16_t port) {
    const size_t i = size_t(sensor - 1);
    return SensorEndpoint{address, port, links.unitIds[i], links.answerLimitsMs[i]};
}

}  // namespace orsan
