#include "TrendLabels.h"

#include <cmath>

#include "LocalTimeText.h"
#include "PrintfText.h"

namespace orsan {

QString AxisLabelText(float value, float step) {
    if (std::fabs(static_cast<double>(value)) < 0.00001) return QStringLiteral("0");
    const float magnitude = std::fabs(step);
    const char* format = magnitude > 10      ? "%1.0f"
                         : magnitude > 1     ? "%1.1f"
                         : magnitude > 0.01f ? "%1.2f"
                                             : "%1.3f";
    return PrintfText(format, static_cast<double>(value));
}

std::array<QString, 11> AxisLabelTexts(float lower, float upper) {
    const float step = (upper - lower) / 10;
    std::array<QString, 11> labels;
    for (int j = 0; j <= 10; ++j) labels[j] = AxisLabelText(j * step + lower, step);
    return labels;
}

QString TimeLabelText(int32_t seconds) {
    return QString::fromLatin1(FormatLocalTime(seconds, "%Y-%m-%d\r\n%H:%M:%S"));
}

QStringList ReadoutLines(const SensorSample& s) {
    // A missing value (the history's stale readings and empty cells) is "--".
    const auto d = [](float v) { return static_cast<double>(v); };
    const auto number = [](const char* format, double v) {
        return std::isnan(v) ? QStringLiteral("--") : PrintfText(format, v);
    };
    QStringList lines;
    lines << QString::fromLatin1(FormatLocalTime(s.time, "%Y-%m-%d %H:%M:%S")) +
                 QString::asprintf(".%.3d", static_cast<int>(s.milliseconds));
    lines << QStringLiteral("T_Shell = ") + number("%1.2f", d(s.T_Shell)) + QStringLiteral(" ℃");
    lines << QStringLiteral("Acc_X = ") + number("%1.2f", d(s.Acc_X)) + QStringLiteral(" m/ss");
    lines << QStringLiteral("Acc_Y = ") + number("%1.2f", d(s.Acc_Y)) + QStringLiteral(" m/ss");
    lines << QStringLiteral("Acc_Z = ") + number("%1.2f", d(s.Acc_Z)) + QStringLiteral(" m/ss");
    lines << QStringLiteral("Vel_X = ") + number("%1.2f", d(s.Vel_X)) + QStringLiteral(" mm/s");
    lines << QStringLiteral("Vel_Y = ") + number("%1.2f", d(s.Vel_Y)) + QStringLiteral(" mm/s");
    lines << QStringLiteral("Vel_Z = ") + number("%1.2f", d(s.Vel_Z)) + QStringLiteral(" mm/s");
    lines << QStringLiteral("Disp_X = ") + number("%1.0f", d(s.Disp_X)) + QStringLiteral(" um");
    lines << QStringLiteral("Disp_Y = ") + number("%1.0f", d(s.Disp_Y)) + QStringLiteral(" um");
    lines << QStringLiteral("Disp_Z = ") + number("%1.0f", d(s.Disp_Z)) + QStringLiteral(" um");
    return lines;
}

}  // namespace orsan
