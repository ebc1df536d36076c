#include "SensorRangeReader.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <algorithm>
#include <limits>

#include "RecordColumns.h"

namespace orsan {

namespace {
constexpr int kFirstValueColumn = RecordRowCursor::kFirstValue;
}  // namespace

int SlotValueIndexOfCurve(int curve) {
    static constexpr int kTableIndex[kRecordValuesPerSlot] = {0, 1, 4, 7, 2, 5, 8, 3, 6, 9};
    return kTableIndex[curve];
}

SensorRangeReader::SensorRangeReader(RecordDatabase& database, int sensor, const RecordRange& range,
                                     Order order, int limit) {
    if (sensor < 1 || sensor > kRecordSlots) {
        error_ =
            QCoreApplication::translate("orsan::RecordExport", "传感器编号 %1 无效（应为 1 到 6）")
                .arg(sensor);
        return;
    }
    const auto names = SlotColumnNames(sensor);
    QStringList columns;
    for (int k = 0; k < kValues; ++k) columns << names[size_t(SlotValueIndexOfCurve(k))];
    rows_.emplace(database, columns, std::vector<int>{sensor}, range, order, limit,
                  QCoreApplication::translate("orsan::RecordExport", "读取记录数据失败："));
}

bool SensorRangeReader::Next() {
    return rows_ && rows_->Next();
}

double SensorRangeReader::Value(int k) const {
    return sqlite3_column_double(rows_->Row(), kFirstValueColumn + k);
}

bool SensorRangeReader::Fresh() const {
    return (rows_->FreshSensors() & 1u) != 0;
}

void SensorRangeReader::PlotValues(std::array<float, kValues>& values) const {
    sqlite3_stmt* const row = rows_->Row();
    if (!Fresh()) {
        values.fill(std::numeric_limits<float>::quiet_NaN());
        return;
    }
    // One call into the statement per value; its type and number are then
    // read from the value itself (this connection is used by one thread).
    for (int k = 0; k < kValues; ++k) {
        sqlite3_value* const value = sqlite3_column_value(row, kFirstValueColumn + k);
        const int type = sqlite3_value_type(value);
        values[size_t(k)] = type == SQLITE_INTEGER || type == SQLITE_FLOAT
                                ? float(sqlite3_value_double(value))
                                : std::numeric_limits<float>::quiet_NaN();
    }
}

SensorRangeReader::Kind SensorRangeReader::ValueKind(int k) const {
    switch (sqlite3_column_type(rows_->Row(), kFirstValueColumn + k)) {
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            return Kind::Number;
        case SQLITE_NULL:
            return Kind::Null;
        default:
            return Kind::Text;
    }
}

QByteArray SensorRangeReader::ValueText(int k) const {
    const auto* text =
        reinterpret_cast<const char*>(sqlite3_column_text(rows_->Row(), kFirstValueColumn + k));
    return QByteArray(text, sqlite3_column_bytes(rows_->Row(), kFirstValueColumn + k));
}

SensorSample SensorRangeReader::Sample() const {
    SensorSample sample;
    sample.time = int32_t(Time());
    sample.milliseconds = uint16_t(std::clamp<qint64>(Milliseconds(), 0, 999));
    float* const fields[kValues] = {&sample.T_Shell, &sample.Acc_X, &sample.Acc_Y, &sample.Acc_Z,
                                    &sample.Vel_X,   &sample.Vel_Y, &sample.Vel_Z, &sample.Disp_X,
                                    &sample.Disp_Y,  &sample.Disp_Z};
    std::array<float, kValues> values;
    PlotValues(values);
    for (int k = 0; k < kValues; ++k) *fields[k] = values[size_t(k)];
    return sample;
}

}  // namespace orsan
