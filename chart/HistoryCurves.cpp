#include "HistoryCurves.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <limits>

#include "DistinctElision.h"
#include "TrendLabels.h"

namespace orsan {

std::vector<HistoryCurve> HistorySelection::Curves() const {
    std::vector<HistoryCurve> curves;
    if (kind == Kind::Machine) {
        for (int k = 0; k < kCurveCount; ++k) curves.push_back({sensor, k});
    } else {
        for (int n = 1; n <= kSensorCount; ++n) curves.push_back({n, quantity});
    }
    return curves;
}

const std::array<QColor, kSensorCount>& MachineColors() {
    static const std::array<QColor, kSensorCount> colors = {
        QColor(214, 39, 40),   QColor(255, 127, 14), QColor(44, 160, 44),
        QColor(148, 103, 189), QColor(140, 86, 75),  QColor(227, 119, 194)};
    return colors;
}

SlotLooks LooksOf(const HistorySelection& selection, const std::array<int, kCurveCount>& visible) {
    SlotLooks looks{};
    const std::vector<HistoryCurve> curves = selection.Curves();
    for (size_t slot = 0; slot < curves.size(); ++slot) {
        const HistoryCurve& curve = curves[slot];
        SlotLook& look = looks[slot];
        look.axis = AxisOfCurve(curve.quantity);
        if (selection.kind == HistorySelection::Kind::Machine) {
            look.color = CurveColors()[size_t(curve.quantity)];
            look.visible = visible[size_t(curve.quantity)] != 0;
        } else {
            look.color = MachineColors()[size_t(curve.sensor - 1)];
            look.visible = true;
        }
    }
    return looks;
}

int MachineLegendTextWidth(const TrendLayout& layout) {
    return std::max(0, layout.width - (layout.plotRect.right + 22) - 2);
}

QStringList MachineLegendLines(const SensorNames& names, const QFontMetrics& metrics, int width) {
    QStringList lines;
    for (int n = 1; n <= kSensorCount; ++n) {
        const QString& name = names[size_t(n - 1)];
        // "n#" alone for a machine without a name: the column is narrow.
        const QString tag = QStringLiteral("%1#").arg(n);
        const QString whole = name.isEmpty() ? tag : SensorTitle(n, name);
        if (name.isEmpty() || metrics.horizontalAdvance(whole) <= width) {
            lines << metrics.elidedText(whole, Qt::ElideRight, width);
            continue;
        }
        const QString head = tag + QLatin1Char(' ');
        lines << head +
                     ElideMachineName(n, names, metrics, width - metrics.horizontalAdvance(head));
    }
    return lines;
}

void PaintMachineLegend(QPainter& painter, const TrendLayout& layout, int quantity,
                        const SensorNames& names, const std::array<bool, kSensorCount>& hasValues) {
    const EdgeRect& plot = layout.plotRect;
    painter.save();
    painter.setFont(ChartFont());
    const QFontMetrics metrics(painter.font());
    const int textLeft = plot.right + 22;
    const int textWidth = MachineLegendTextWidth(layout);
    const auto text = [&](int y, const QString& line) {
        painter.drawText(QRect(textLeft, y, textWidth, metrics.height()),
                         Qt::AlignLeft | Qt::AlignTop, line);
    };
    painter.setPen(kChartTextColor);
    text(plot.top - 2,
         metrics.elidedText(CurveNames()[size_t(quantity)], Qt::ElideRight, textWidth));
    const QStringList lines = MachineLegendLines(names, metrics, textWidth);
    for (int n = 1; n <= kSensorCount; ++n) {
        const int y = plot.top + kLegendOffsets[size_t(n)];
        // A machine with nothing to draw keeps its place, in grey.
        const QColor color =
            hasValues[size_t(n - 1)] ? MachineColors()[size_t(n - 1)] : kGridDashColor;
        painter.fillRect(QRect(plot.right + 5, y, 14, 8), color);
        painter.setPen(color);
        text(y - 2, lines[n - 1]);
    }
    painter.restore();
}

QStringList HistoryReadoutLines(const HistorySelection& selection, const SensorNames& names,
                                const HistoryRow& row) {
    // The trend readout's own lines, so units and decimals stay the same.
    const auto sampleLines = [&](int quantity, const std::array<float, kCurveCount>& values) {
        SensorSample sample;
        sample.time = row.time;
        sample.milliseconds = row.milliseconds;
        float* const fields[kCurveCount] = {
            &sample.T_Shell, &sample.Acc_X, &sample.Acc_Y,  &sample.Acc_Z,  &sample.Vel_X,
            &sample.Vel_Y,   &sample.Vel_Z, &sample.Disp_X, &sample.Disp_Y, &sample.Disp_Z};
        for (int k = 0; k < kCurveCount; ++k)
            *fields[k] = quantity < 0 || k == quantity ? values[size_t(k)]
                                                       : std::numeric_limits<float>::quiet_NaN();
        return ReadoutLines(sample);
    };
    if (selection.kind == HistorySelection::Kind::Machine) return sampleLines(-1, row.values);
    const int q = selection.quantity;
    QStringList lines{sampleLines(q, row.values).value(0)};
    for (int n = 1; n <= kSensorCount; ++n) {
        std::array<float, kCurveCount> values{};
        values[size_t(q)] = row.values[size_t(n - 1)];
        lines << SensorTabCaption(n, names[size_t(n - 1)]) + QStringLiteral(": ") +
                     sampleLines(q, values).value(1 + q);
    }
    return lines;
}

QString MachinesTitle(int quantity) {
    return QCoreApplication::translate("HistoryChart", "全部机器%1历史趋势曲线")
        .arg(CurveNames()[size_t(quantity)]);
}

}  // namespace orsan
