#pragma once

#include <QString>
#include <array>
#include <optional>

#include "RecordDatabase.h"
#include "RecordRange.h"
#include "RecordRowCursor.h"

namespace orsan {

// Streams one sensor's rows of a range in (Time, rowid) order straight
// through SQLite's C interface on the database's own connection: a million
// rows are read without a QVariant per value. Values come in curve order
// (T_Shell, Acc_X, Acc_Y, Acc_Z, Vel_X, Vel_Y, Vel_Z, Disp_X, Disp_Y,
// Disp_Z), the order of the trend chart and the CSV file.
class SensorRangeReader {
public:
    static constexpr int kValues = kRecordValuesPerSlot;

    enum class Kind { Number, Null, Text };
    using Order = RecordRowCursor::Order;  // oldest first, or newest first

    // sensor 1..6; limit 0 for every row. A failure to prepare shows in Error().
    SensorRangeReader(RecordDatabase& database, int sensor, const RecordRange& range,
                      Order order = Order::Oldest, int limit = 0);
    SensorRangeReader(const SensorRangeReader&) = delete;
    SensorRangeReader& operator=(const SensorRangeReader&) = delete;

    // The next row; false at the end or on a failure (Error() then says why).
    bool Next();
    const QString& Error() const { return rows_ ? rows_->Error() : error_; }

    qint64 Time() const { return rows_->Time(); }
    qint64 Milliseconds() const { return rows_->Milliseconds(); }
    qint64 TimeMs() const { return rows_->TimeMs(); }
    // Value k (curve order) of the current row; 0 for a NULL.
    double Value(int k) const;
    // How value k is stored: a number, NULL, or text another program put there.
    Kind ValueKind(int k) const;
    // The stored text of value k (UTF-8), for Kind::Text.
    QByteArray ValueText(int k) const;
    // Whether the row's values are a fresh reading (its Ok column is not 0;
    // rows written before that column existed count as fresh).
    bool Fresh() const;
    // The values as a chart shows them: NaN for a stale reading, a NULL or a text.
    void PlotValues(std::array<float, kValues>& values) const;
    // The current row as a sample, values as PlotValues gives them.
    SensorSample Sample() const;

private:
    QString error_;                        // a sensor out of range
    std::optional<RecordRowCursor> rows_;  // none for a sensor out of range
};

// Table position (0..9 within a slot) of curve k.
int SlotValueIndexOfCurve(int curve);

}  // namespace orsan
