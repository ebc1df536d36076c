#include "SensorRangeReader.h"

#include <sqlite3.h>

#include <QSqlDriver>
#include <QVariant>
#include <algorithm>

#include "RecordColumns.h"

namespace orsan {

namespace {

sqlite3* SqliteHandle(const QSqlDatabase& connection) {
    if (!connection.isValid() || !connection.isOpen() || connection.driver() == nullptr)
        return nullptr;
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

}  // namespace

int SlotValueIndexOfCurve(int curve) {
    static constexpr int kTableIndex[kRecordValuesPerSlot] = {0, 1, 4, 7, 2, 5, 8, 3, 6, 9};
    return kTableIndex[curve];
}

SensorRangeReader::SensorRangeReader(RecordDatabase& database, int sensor, const RecordRange& range,
                                     Order order, int limit) {
    if (sensor < 1 || sensor > kRecordSlots) {
        Fail(QStringLiteral("传感器编号 %1 无效（应为 1 到 6）").arg(sensor));
        return;
    }
    sqlite3* connection = SqliteHandle(database.Connection());
    if (connection == nullptr) {
        Fail(QStringLiteral("记录数据库未打开"));
        return;
    }
    connection_ = connection;
    const auto names = SlotColumnNames(sensor);
    QString sql = QStringLiteral("SELECT Time,msTime");
    for (int k = 0; k < kValues; ++k) sql += QLatin1Char(',') + names[SlotValueIndexOfCurve(k)];
    sql += QStringLiteral(" FROM data WHERE ") + RangeCondition() +
           (order == Order::Oldest ? QStringLiteral(" ORDER BY Time, rowid")
                                   : QStringLiteral(" ORDER BY Time DESC, rowid DESC"));
    if (limit > 0) sql += QStringLiteral(" LIMIT %1").arg(limit);
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(connection, text.constData(), int(text.size()), &statement_, nullptr) !=
        SQLITE_OK) {
        Fail(QString::fromUtf8(sqlite3_errmsg(connection)));
        return;
    }
    sqlite3_bind_int64(statement_, 1, FloorSeconds(range.fromMs));
    sqlite3_bind_int64(statement_, 2, FloorSeconds(range.toMs));
    sqlite3_bind_int64(statement_, 3, range.fromMs);
    sqlite3_bind_int64(statement_, 4, range.toMs);
}

SensorRangeReader::~SensorRangeReader() {
    sqlite3_finalize(statement_);
}

bool SensorRangeReader::Fail(const QString& what) {
    error_ = QStringLiteral("读取记录数据失败：") + what;
    return false;
}

bool SensorRangeReader::Next() {
    if (statement_ == nullptr || !error_.isEmpty()) return false;
    const int step = sqlite3_step(statement_);
    if (step == SQLITE_ROW) return true;
    if (step != SQLITE_DONE)
        Fail(QString::fromUtf8(sqlite3_errmsg(static_cast<sqlite3*>(connection_))));
    sqlite3_finalize(statement_);
    statement_ = nullptr;
    return false;
}

qint64 SensorRangeReader::Time() const {
    return sqlite3_column_int64(statement_, 0);
}

qint64 SensorRangeReader::Milliseconds() const {
    return sqlite3_column_int64(statement_, 1);
}

double SensorRangeReader::Value(int k) const {
    return sqlite3_column_double(statement_, 2 + k);
}

SensorRangeReader::Kind SensorRangeReader::ValueKind(int k) const {
    switch (sqlite3_column_type(statement_, 2 + k)) {
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
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement_, 2 + k));
    return QByteArray(text, sqlite3_column_bytes(statement_, 2 + k));
}

SensorSample SensorRangeReader::Sample() const {
    SensorSample sample;
    sample.time = int32_t(Time());
    sample.milliseconds = uint16_t(std::clamp<qint64>(Milliseconds(), 0, 999));
    float* const fields[kValues] = {&sample.T_Shell, &sample.Acc_X, &sample.Acc_Y, &sample.Acc_Z,
                                    &sample.Vel_X,   &sample.Vel_Y, &sample.Vel_Z, &sample.Disp_X,
                                    &sample.Disp_Y,  &sample.Disp_Z};
    for (int k = 0; k < kValues; ++k) *fields[k] = float(Value(k));
    return sample;
}

}  // namespace orsan
