#include "SensorLinks.h"

#include <QCoreApplication>

#include "StationConfig.h"

namespace orsan {

namespace {

const QString kDaqSection = QStringLiteral("DAQ");
const QString kSensorSection = QStringLiteral("SENSOR");

// The value of one key within [low, high] (or equal to also), else
// fallback, refusals noted. reason holds %1 and %2 for the bounds, %3 for
// what is used instead.
int LoadBounded(const INIFILE& config, const QString& section, const QString& key, int low,
                int high, int also, int fallback, const char* reason, QStringList* problems) {
    const IniValue value = ReadCheckedInt(
        config, section, key, [&](qlonglong v) { return (v >= low && v <= high) || v == also; },
        QCoreApplication::translate("SensorLinks", reason).arg(low).arg(high).arg(fallback),
        problems);
    return value.state == IniValue::State::Accepted ? value.value : fallback;
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
        LoadBounded(config, kDaqSection, TimeoutKey(), kMinAnswerLimitMs, kMaxAnswerLimitMs,
                    kMinAnswerLimitMs, kDefaultAnswerLimitMs, kTimeoutReason, problems);
    for (int n = 1; n <= kSensorCount; ++n) {
        links.answerLimitsMs[size_t(n - 1)] =
            LoadBounded(config, kSensorSection, SensorTimeoutKey(n), kMinAnswerLimitMs,
                        kMaxAnswerLimitMs, kMinAnswerLimitMs, common, kTimeoutReason, problems);
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
