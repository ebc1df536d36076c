#include "ChartSettings.h"

#include <QCoreApplication>
#include <cfloat>
#include <cmath>

#include "ConfigCheck.h"
#include "PrintfText.h"
#include "SensorNames.h"

namespace orsan {

namespace {

float LimitFromIni(const INIFILE& ini, const QString& section, const char* key,
                   const char* fallback) {
    const QString text =
        ini.GetString(section, QString::fromLatin1(key), QString::fromLatin1(fallback));
    const double value = ParseIniDouble(text);
    // The chart works in single precision; out-of-range text saturates
    // instead of becoming infinite.
    if (value > FLT_MAX) return FLT_MAX;
    if (value < -FLT_MAX) return -FLT_MAX;
    return static_cast<float>(value);
}

QString ShowKey(int k) {
    return QStringLiteral("SHOW%1").arg(k);
}

// A new station's trend shows the temperature and the three velocities, the
// readings the alarms grade, instead of an empty plot.
constexpr std::array<bool, kCurveCount> kShownByDefault = {true, false, false, false, true,
                                                           true, true,  false, false, false};

}  // namespace

QString ChartSection(int sensorSlot) {
    return QStringLiteral("CH%1").arg(sensorSlot);
}

ChartSettings LoadChartSettings(const INIFILE& ini, int sensorSlot) {
    const QString section = ChartSection(sensorSlot);
    ChartSettings settings;
    settings.limits.TMin = LimitFromIni(ini, section, "TMin", "0");
    settings.limits.TMax = LimitFromIni(ini, section, "TMax", "80");
    settings.limits.AMax = LimitFromIni(ini, section, "AMax", "10");
    settings.limits.VMax = LimitFromIni(ini, section, "VMax", "20");
    settings.limits.DMax = LimitFromIni(ini, section, "DMax", "50");
    for (int k = 0; k < kCurveCount; ++k)
        settings.showFlags[k] = ParseIniInt(ini.GetString(
            section, ShowKey(k), kShownByDefault[k] ? QStringLiteral("1") : QString()));
    return settings;
}

QStringList CheckChartIni(const INIFILE& ini) {
    const QString file = QStringLiteral("Chart.ini");
    static const char* const kLimitKeys[] = {"TMin", "TMax", "AMax", "VMax", "DMax"};
    const auto isSection = [](const QString& section) {
        for (int n = 1; n <= kSensorCount; ++n)
            if (section.compare(ChartSection(n), Qt::CaseInsensitive) == 0) return true;
        return false;
    };
    QStringList problems = UnreadableLineProblems(ini, file);
    problems << UnknownNameProblems(ini, file, [&](const QString& section, const QString& key) {
        if (!isSection(section)) return false;
        for (const char* known : kLimitKeys)
            if (key.compare(QLatin1String(known), Qt::CaseInsensitive) == 0) return true;
        for (int k = 0; k < kCurveCount; ++k)
            if (key.compare(ShowKey(k), Qt::CaseInsensitive) == 0) return true;
        return key.isEmpty();
    });
    for (int n = 1; n <= kSensorCount; ++n) {
        const QString section = ChartSection(n);
        const auto refuse = [&](const QString& key, const QString& value, const QString& why) {
            problems << QCoreApplication::translate("orsan::ChartSettings",
                                                    "%1 [%2] %3=%4 无效：%5")
                            .arg(file, section, key, value, why);
        };
        for (const char* key : kLimitKeys) {
            const QString value = ini.GetString(section, QLatin1String(key), QString()).trimmed();
            float number = 0;
            if (!value.isEmpty() && !ParseLimitText(value, &number))
                refuse(QLatin1String(key), value,
                       QCoreApplication::translate("orsan::ChartSettings", "应为一个数"));
        }
        for (int k = 0; k < kCurveCount; ++k) {
            const QString value = ini.GetString(section, ShowKey(k), QString()).trimmed();
            if (!value.isEmpty() && value != u'0' && value != u'1')
                refuse(ShowKey(k), value,
                       QCoreApplication::translate("orsan::ChartSettings", "应为 0 或 1"));
        }
        if (const auto limits = CheckChartLimits(LoadChartSettings(ini, n).limits))
            problems << QStringLiteral("%1 [%2] %3").arg(file, section, limits->message);
    }
    return problems;
}

bool SaveChartLimits(INIFILE& ini, int sensorSlot, const TrendLimits& limits) {
    const QString section = ChartSection(sensorSlot);
    const auto text = [](float v) { return PrintfText("%1.1f", static_cast<double>(v)); };
    bool ok = ini.WriteString(section, QStringLiteral("TMin"), text(limits.TMin));
    ok = ini.WriteString(section, QStringLiteral("TMax"), text(limits.TMax)) && ok;
    ok = ini.WriteString(section, QStringLiteral("AMax"), text(limits.AMax)) && ok;
    ok = ini.WriteString(section, QStringLiteral("VMax"), text(limits.VMax)) && ok;
    ok = ini.WriteString(section, QStringLiteral("DMax"), text(limits.DMax)) && ok;
    return ok;
}

bool SaveShowFlags(INIFILE& ini, int sensorSlot, const std::array<int, kCurveCount>& flags) {
    const QString section = ChartSection(sensorSlot);
    bool ok = true;
    for (int k = 0; k < kCurveCount; ++k) ok = ini.WriteInt(section, ShowKey(k), flags[k]) && ok;
    return ok;
}

QString LimitText(float value) {
    return PrintfText("%g", static_cast<double>(value));
}

bool ParseLimitText(const QString& text, float* value) {
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty()) return false;
    // Only plain decimal notation: digits, sign, point, exponent.
    for (QChar c : trimmed) {
        if (!(c.isDigit() || c == u'+' || c == u'-' || c == u'.' || c == u'e' || c == u'E'))
            return false;
    }
    bool ok = false;
    const double parsed = trimmed.toDouble(&ok);
    if (!ok || !std::isfinite(parsed) || std::fabs(parsed) > FLT_MAX) return false;
    *value = static_cast<float>(parsed);
    return true;
}

std::optional<LimitsProblem> CheckChartLimits(const TrendLimits& limits) {
    if (!(limits.TMin < limits.TMax))
        return LimitsProblem{
            1, QCoreApplication::translate("orsan::ChartSettings",
                                           "温度最小值（%1）必须小于温度最大值（%2）。")
                   .arg(LimitText(limits.TMin), LimitText(limits.TMax))};
    const struct {
        float value;
        const char* name;
    } maxima[] = {{limits.AMax, QT_TRANSLATE_NOOP("orsan::ChartSettings", "加速度最大值")},
                  {limits.VMax, QT_TRANSLATE_NOOP("orsan::ChartSettings", "速度最大值")},
                  {limits.DMax, QT_TRANSLATE_NOOP("orsan::ChartSettings", "位移最大值")}};
    for (int i = 0; i < 3; ++i) {
        if (maxima[i].value > 0) continue;
        return LimitsProblem{
            2 + i,
            QCoreApplication::translate("orsan::ChartSettings", "%1（%2）必须大于坐标轴最小值 0。")
                .arg(QCoreApplication::translate("orsan::ChartSettings", maxima[i].name),
                     LimitText(maxima[i].value))};
    }
    return std::nullopt;
}

}  // namespace orsan
