#include "HistoryRowReader.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <algorithm>
#include <limits>

#include "RecordColumns.h"
#include "SensorRangeReader.h"

namespace orsan {

namespace {

bool Valid(const std::vector<HistoryCurve>& curves) {
    if (curves.empty() || curves.size() > size_t(kCurveCount)) return false;
    return std::all_of(curves.begin(), curves.end(), [](const HistoryCurve& c) {
        return c.sensor >= 1 && c.sensor <= kRecordSlots && c.quantity >= 0 &&
               c.quantity < kRecordValuesPerSlot;
    });
}

// The sensors of the curves, each once, in the order first named.
std::vector<int> SensorsOf(const std::vector<HistoryCurve>& curves) {
    std::vector<int> sensors;
    for (const HistoryCurve& curve : curves)
        if (std::find(sensors.begin(), sensors.end(), curve.sensor) == sensors.end())
            sensors.push_back(curve.sensor);
    return sensors;
}

}  // namespace

// Only the seconds bound the rows in SQL, so SQLite tests nothing per row
// beyond the index; Next() leaves out the rows of the two edge seconds that
// fall outside the range.
QString HistoryRowSql(const RecordDatabase& database, const std::vector<HistoryCurve>& curves,
                      HistoryRowReader::Order order) {
    if (!Valid(curves)) return QString();
    QString sql = QStringLiteral("SELECT Time,msTime");
    for (const HistoryCurve& curve : curves)
        sql += QLatin1Char(',') +
               SlotColumnNames(curve.sensor)[size_t(SlotValueIndexOfCurve(curve.quantity))];
    for (const int sensor : SensorsOf(curves))
        sql += QLatin1Char(',') + database.FreshnessSql(sensor);
    return sql + QStringLiteral(" FROM data WHERE Time BETWEEN ?1 AND ?2") +
           (order == HistoryRowReader::Order::Oldest
                ? QStringLiteral(" ORDER BY Time, rowid")
                : QStringLiteral(" ORDER BY Time DESC, rowid DESC"));
}

HistoryRowReader::HistoryRowReader(RecordDatabase& database,
                                   const std::vector<HistoryCurve>& curves,
                                   const RecordRange& range, Order order, int limit)
    : statement_(database.Connection(), HistoryRowSql(database, curves, order)),
      range_(range),
      limit_(limit) {
    if (!Valid(curves)) {
        error_ = QCoreApplication::translate("HistoryRowReader",
                                             "曲线选择无效（传感器应为 1 到 6，最多 10 条曲线）");
        return;
    }
    if (!statement_.Error().isEmpty()) {
        error_ = QCoreApplication::translate("HistoryRowReader", "读取记录数据失败：") +
                 statement_.Error();
        return;
    }
    const std::vector<int> sensors = SensorsOf(curves);
    slots_ = int(curves.size());
    sensors_ = int(sensors.size());
    firstFreshColumn_ = 2 + slots_;
    for (int slot = 0; slot < slots_; ++slot)
        freshOfSlot_[size_t(slot)] =
            int(std::find(sensors.begin(), sensors.end(), curves[size_t(slot)].sensor) -
                sensors.begin());
    statement_.Bind({FloorSeconds(range.fromMs), FloorSeconds(range.toMs)});
}

bool HistoryRowReader::Next() {
    if (!error_.isEmpty() || (limit_ > 0 && delivered_ >= limit_)) return false;
    while (statement_.Next()) {
        time_ = sqlite3_column_int64(statement_.Handle(), 0);
        milliseconds_ = sqlite3_column_int64(statement_.Handle(), 1);
        if (!range_.Contains(TimeMs())) continue;
        ++delivered_;
        return true;
    }
    if (!statement_.Error().isEmpty())
        error_ = QCoreApplication::translate("HistoryRowReader", "读取记录数据失败：") +
                 statement_.Error();
    return false;
}

void HistoryRowReader::Values(std::array<float, kCurveCount>& values) const {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    sqlite3_stmt* const row = statement_.Handle();
    unsigned fresh = 0;  // bit s: sensor s of those read
    for (int s = 0; s < sensors_; ++s)
        fresh |= unsigned(sqlite3_column_int(row, firstFreshColumn_ + s) != 0) << s;
    for (int slot = 0; slot < slots_; ++slot) {
        float number = kNaN;
        if ((fresh >> freshOfSlot_[size_t(slot)]) & 1u) {
            // One call into the statement per value; its type and number are
            // then read from the value itself (one thread uses this connection).
            sqlite3_value* const value = sqlite3_column_value(row, 2 + slot);
            const int type = sqlite3_value_type(value);
            if (type == SQLITE_FLOAT || type == SQLITE_INTEGER)
                number = float(sqlite3_value_double(value));
        }
        values[size_t(slot)] = number;
    }
    for (int slot = slots_; slot < kCurveCount; ++slot) values[size_t(slot)] = kNaN;
}

HistoryRow HistoryRowReader::Row() const {
    HistoryRow row;
    row.time = int32_t(time_);
    row.milliseconds = uint16_t(std::clamp<qint64>(milliseconds_, 0, 999));
    Values(row.values);
    return row;
}

}  // namespace orsan
