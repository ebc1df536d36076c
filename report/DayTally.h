#pragma once

#include <QtGlobal>
#include <array>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <vector>

#include "SeverityZones.h"
#include "TrendStyle.h"

namespace orsan {

// The quantities a day is summed up over: the shell temperature, the three
// velocities and the overall velocity (the highest axis of each reading,
// the one the zones grade).
enum class DayQuantity { Temperature, VelX, VelY, VelZ, Overall };
inline constexpr int kDayQuantityCount = 5;

struct QuantityStats {
    qint64 count = 0;
    double min = std::numeric_limits<double>::quiet_NaN();
    double max = std::numeric_limits<double>::quiet_NaN();
    double sum = 0;
    double Mean() const { return count > 0 ? sum / double(count) : std::nan(""); }
};

// Zones A to D in that order.
inline constexpr int kZoneCount = 4;

// What the record holds of an instant: fresh readings, rows without a fresh
// reading ("无有效数据": the sensor was silent), or no rows ("未记录": the
// station was off or not recording).
enum class Coverage { Fresh, NoFreshReading, Unrecorded };

// A stretch of the day, milliseconds since the epoch, both ends included.
struct TimeSpan {
    qint64 fromMs = 0;
    qint64 toMs = 0;
    bool operator==(const TimeSpan&) const = default;
};

struct DayStatistics {
    qint64 rows = 0;       // rows of the day
    qint64 freshRows = 0;  // of which fresh readings
    std::array<QuantityStats, kDayQuantityCount> quantities{};
    std::array<double, kZoneCount> zoneSeconds{};  // A, B, C, D
    // The parts of the day with rows, and those of them between fresh
    // readings (the zoned time), in time order.
    std::vector<TimeSpan> recorded;
    std::vector<TimeSpan> fresh;

    double ZonedSeconds() const {
        return zoneSeconds[0] + zoneSeconds[1] + zoneSeconds[2] + zoneSeconds[3];
    }
    double RecordedSeconds() const;
    // Recorded time without a fresh reading ("无有效数据").
    double NoFreshSeconds() const;
    // daySeconds less the recorded time ("未记录").
    double UnrecordedSeconds(double daySeconds) const;
    Coverage At(qint64 ms) const;
    const QuantityStats& Of(DayQuantity q) const { return quantities[size_t(q)]; }
};

// One sensor's rows summed up over one day (fromMs inclusive .. toMs
// exclusive): min, mean and max of the fresh readings, and the time spent
// in each zone. The time from one fresh reading to the next belongs to the
// zone of the first; stale rows between them change nothing, and a stretch
// longer than the gap rule (the station was off or the sensor silent) is
// nobody's. Rows come in time order and may begin before and end after the
// day: the fresh readings next to midnight share their stretch with it.
// The same rule over all rows, fresh or not, gives the recorded time: from
// one row to the next is recorded unless longer than the gap rule.
class DayTally {
public:
    DayTally(qint64 fromMs, qint64 toMs, const ZoneThresholds& zones);

    // values in curve order (T_Shell ... Disp_Z); NaN for a missing value.
    void Add(qint64 timeMs, bool fresh, const std::array<float, kCurveCount>& values);

    // gapSeconds: the longest stretch between two readings (or rows) that
    // counts; never below kShortestGapSeconds.
    DayStatistics Result(double gapSeconds) const;

    // The history chart's gap rule never breaks a stretch this short, so
    // only longer ones are kept one by one.
    static constexpr double kShortestGapSeconds = 2.0;

private:
    qint64 fromMs_;
    qint64 toMs_;
    ZoneThresholds zones_;
    DayStatistics stats_;
    std::optional<std::pair<qint64, Zone>> lastFresh_;
    // First and last time of the rows (of the fresh readings) and their
    // stretches longer than kShortestGapSeconds, in time order.
    struct Stretches {
        std::optional<qint64> first;
        qint64 last = 0;
        std::vector<TimeSpan> longOnes;
        // False for a row stamped before the last one.
        bool Add(qint64 ms);
        std::vector<TimeSpan> Covered(double gapMs, qint64 fromMs, qint64 toMs) const;
    };
    Stretches rowStretches_;
    Stretches freshStretches_;
    // Per stretch length (ms) the milliseconds of it inside the day, per
    // zone: a day of even rows holds a handful of lengths, not every stretch.
    std::map<qint64, std::array<qint64, kZoneCount>> stretches_;
};

}  // namespace orsan
