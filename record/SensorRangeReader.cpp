#include "SensorRangeReader.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <algorithm>
#include <limits>

#include "RecordColumns.h"

namespace orsan {

namespace {

constexpr int kFreshColumn = 2 + SensorRangeReader::kValues;

// Only the seconds bound the rows in SQL, so SQLite tests nothing per row
// beyond the index; Next() leaves out the rows of the two edge seconds that
// fall outside the range (and so also counts the limit itself).
QString ReaderSql(const RecordDatabase& database, int sensor, SensorRangeReader::Order order) {
    if (sensor < 1 || sensor > kRecordSlots) return QString();
    const auto names = SlotColumnNames(sensor);
    QString sql = QStringLiteral("SELECT Time,msTime");
    for (int k = 0; k < SensorRangeReader::kValues; ++k)
        sql += QLatin1Char(',') + names[SlotValueIndexOfCurve(k)];
    sql += QLatin1Char(',') + database.FreshnessSql(sensor);
    return sql + QStringLiteral(" FROM data WHERE Time BETWEEN ?1 AND ?2") +
           (order == SensorRangeReader::Order::Oldest
                ? QStringLiteral(" ORDER BY Time, rowid")
                : QStringLiteral(" ORDER BY Time DESC, rowid DESC"));
}

}  // namespace

int SlotValueIndexOfCurve(int curve) {
    static constexpr int kTableIndex[kRecordValuesPerSlot] = {0, 1, 4, 7, 2, 5, 8, 3, 6, 9};
    return kTableIndex[curve];
}

SensorRangeReader::SensorRangeReader(RecordDatabase& database, int sensor, const RecordRange& range,
                                     Order order, int limit)
    : statement_(database.Connection(), ReaderSql(database, sensor, order)),
      range_(range),
      limit_(limit) {
    if (sensor < 1 || sensor > kRecordSlots) {
        error_ =
            QCoreApplication::translate("orsan::RecordExport", "传感器编号 %1 无效（应为 1 到 6）")
                .arg(sensor);
        return;
    }
    if (!statement_.Error().isEmpty()) {
        error_ = QCoreApplication::translate("orsan::RecordExport", "读取记录数据失败：") +
                 statement_.Error();
        return;
    }
    statement_.Bind({FloorSeconds(range.fromMs), FloorSeconds(range.toMs)});
}

bool SensorRangeReader::Next() {
    if (!error_.isEmpty() || (limit_ > 0 && delivered_ >= limit_)) return false;
    while (statement_.Next()) {
        time_ = sqlite3_column_int64(statement_.Handle(), 0);
        milliseconds_ = sqlite3_column_int64(statement_.Handle(), 1);
        if (!range_.Contains(TimeMs())) continue;
        ++delivered_;
        return true;
    }
    if (!statement_.Error().isEmpty())
        error_ = QCoreApplication::translate("orsan::RecordExport", "读取记录数据失败：") +
                 statement_.Error();
    return false;
}

double SensorRangeReader::Value(int k) const {
    return sqlite3_column_double(statement_.Handle(), 2 + k);
}

bool SensorRangeReader::Fresh() const {
    return sqlite3_column_int(statement_.Handle(), kFreshColumn) != 0;
}

void SensorRangeReader::PlotValues(std::array<float, kValues>& values) const {
    sqlite3_stmt* const row = statement_.Handle();
    if (!Fresh()) {
        values.fill(std::numeric_limits<float>::quiet_NaN());
        return;
    }
    // One call into the statement per value; its type and number are then
    // read from the value itself (this connection is used by one thread).
    for (int k = 0; k < kValues; ++k) {
        sqlite3_value* const value = sqlite3_column_value(row, 2 + k);
        const int type = sqlite3_value_type(value);
        values[size_t(k)] = type == SQLITE_INTEGER || type == SQLITE_FLOAT
                                ? float(sqlite3_value_double(value))
                                : std::numeric_limits<float>::quiet_NaN();
    }
}

SensorRangeReader::Kind SensorRangeReader::ValueKind(int k) const {
    switch (sqlite3_column_type(statement_.Handle(), 2 + k)) {
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
        reinterpret_cast<const char*>(sqlite3_column_text(statement_.Handle(), 2 + k));
    return QByteArray(text, sqlite3_column_bytes(statement_.Handle(), 2 + k));
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
