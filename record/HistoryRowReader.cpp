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

HistoryRowReader::HistoryRowReader(RecordDatabase& database,
                                   const std::vector<HistoryCurve>& curves,
                                   const RecordRange& range, Order order, int limit) {
    if (!Valid(curves)) {
        error_ = QCoreApplication::translate("HistoryRowReader",
                                             "曲线选择无效（传感器应为 1 到 6，最多 10 条曲线）");
        return;
    }
    const std::vector<int> sensors = SensorsOf(curves);
    QStringList columns;
    for (const HistoryCurve& curve : curves)
        columns << SlotColumnNames(curve.sensor)[size_t(SlotValueIndexOfCurve(curve.quantity))];
    slots_ = int(curves.size());
    for (int slot = 0; slot < slots_; ++slot)
        freshOfSlot_[size_t(slot)] =
            int(std::find(sensors.begin(), sensors.end(), curves[size_t(slot)].sensor) -
                sensors.begin());
    rows_.emplace(database, columns, sensors, range, order, limit,
                  QCoreApplication::translate("HistoryRowReader", "读取记录数据失败："));
}

bool HistoryRowReader::Next() {
    return rows_ && rows_->Next();
}

void HistoryRowReader::Values(std::array<float, kCurveCount>& values) const {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    sqlite3_stmt* const row = rows_->Row();
    const unsigned fresh = rows_->FreshSensors();  // bit s: sensor s of those read
    for (int slot = 0; slot < slots_; ++slot) {
        float number = kNaN;
        if ((fresh >> freshOfSlot_[size_t(slot)]) & 1u) {
            // One call into the statement per value; its type and number are
            // then read from the value itself (one thread uses this connection).
            sqlite3_value* const value =
                sqlite3_column_value(row, RecordRowCursor::kFirstValue + slot);
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
    row.time = int32_t(rows_->Time());
    row.milliseconds = uint16_t(std::clamp<qint64>(rows_->Milliseconds(), 0, 999));
    Values(row.values);
    return row;
}

}  // namespace orsan
