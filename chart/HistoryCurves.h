#pragma once

#include <QColor>
#include <QFontMetrics>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <vector>

#include "HistoryReduction.h"
#include "SensorNames.h"
#include "TrendGeometry.h"
#include "TrendStyle.h"

class QPainter;

namespace orsan {

// One curve of the history chart: one quantity (curve index, 0 = T_Shell
// ... 9 = Disp_Z) of one sensor (1..6).
struct HistoryCurve {
    int sensor = 1;
    int quantity = 0;
    bool operator==(const HistoryCurve&) const = default;
};

// What the history chart shows: one machine's ten quantities (slot k is
// quantity k), or one quantity of every machine side by side (slot n - 1 is
// sensor n). Every read, reduction slot and readout line follows Curves().
struct HistorySelection {
    enum class Kind { Machine, Quantity };
    Kind kind = Kind::Machine;
    int sensor = 1;    // the machine, for Kind::Machine
    int quantity = 4;  // the quantity, for Kind::Quantity (Vel_X)

    static HistorySelection Machine(int sensor) { return {Kind::Machine, sensor, 4}; }
    static HistorySelection Quantity(int quantity) { return {Kind::Quantity, 1, quantity}; }
    std::vector<HistoryCurve> Curves() const;
    bool operator==(const HistorySelection&) const = default;
};

// One record row as the chart's curves see it: its time and a value per
// slot (NaN: no reading, a stale one, or a cell that holds no number).
struct HistoryRow {
    int32_t time = 0;
    uint16_t milliseconds = 0;
    std::array<float, kCurveCount> values{};
};

// A colour per machine (slot 0 is sensor 1), apart from the readout's blue
// and the zone marks' teal.
const std::array<QColor, kSensorCount>& MachineColors();

// How the slots of a selection are drawn. Machine: the quantities' colours and axes, shown as
// `visible` says. Quantity: the machines' colours on the quantity's axis, all shown.
SlotLooks LooksOf(const HistorySelection& selection, const std::array<int, kCurveCount>& visible);

// The legend's machine lines, each within `width`: "n# <name>" (or "n#").
// A name too long is cut so it still tells itself apart from the others
// (machines named "P-101 给水泵" and "P-102 给水泵" must not both read
// "P-10…", one reads "…101…").
QStringList MachineLegendLines(const SensorNames& names, const QFontMetrics& metrics, int width);
// The room of the legend's texts right of the plot.
int MachineLegendTextWidth(const TrendLayout& layout);

// The legend right of the plot for a quantity of every machine: the
// quantity's name, then a swatch and its MachineLegendLines line per
// machine, greyed for a machine without a value in the range (`hasValues`,
// per slot).
void PaintMachineLegend(QPainter& painter, const TrendLayout& layout, int quantity,
                        const SensorNames& names, const std::array<bool, kSensorCount>& hasValues);

// The readout lines of a row: the time, then per slot "<quantity> = v unit"
// for one machine or "n# <name>: <quantity> = v unit" per machine; "--"
// where a slot has no value.
QStringList HistoryReadoutLines(const HistorySelection& selection, const SensorNames& names,
                                const HistoryRow& row);

// The chart's first title line for a quantity of every machine.
QString MachinesTitle(int quantity);

}  // namespace orsan
