#pragma once

#include <QString>
#include <array>
#include <vector>

#include "HistoryCurves.h"
#include "RecordDatabase.h"
#include "RecordRange.h"
#include "SqliteStatement.h"

namespace orsan {

// Streams the rows of a range with one value per history curve (sensor,
// quantity), in (Time, rowid) order, straight through SQLite's C interface
// on the database's own connection: each sensor's freshness is read once a
// row, however many of its quantities are drawn.
class HistoryRowReader {
public:
    enum class Order { Oldest, Newest };  // oldest first, or newest first

    // At most kCurveCount curves; limit 0 for every row. A curve naming no
    // sensor or quantity, or a failure to prepare, shows in Error().
    HistoryRowReader(RecordDatabase& database, const std::vector<HistoryCurve>& curves,
                     const RecordRange& range, Order order = Order::Oldest, int limit = 0);
    HistoryRowReader(const HistoryRowReader&) = delete;
    HistoryRowReader& operator=(const HistoryRowReader&) = delete;

    // The next row; false at the end or on a failure (Error() then says why).
    bool Next();
    const QString& Error() const { return error_; }

    qint64 TimeMs() const { return RowTimeMs(time_, milliseconds_); }
    // Per slot the curve's value; NaN for a stale reading, a NULL, a text,
    // and for the slots past the last curve.
    void Values(std::array<float, kCurveCount>& values) const;
    HistoryRow Row() const;

private:
    QString error_;
    SqliteStatement statement_;
    RecordRange range_;
    int limit_ = 0;
    int delivered_ = 0;
    int slots_ = 0;
    int firstFreshColumn_ = 0;
    std::array<int, kCurveCount> freshOfSlot_{};  // index among the sensors read
    int sensors_ = 0;
    qint64 time_ = 0;
    qint64 milliseconds_ = 0;
};

// The statement the reader runs (?1, ?2: the first and last whole second of
// the range), so a benchmark's floor reads exactly the same columns and rows.
QString HistoryRowSql(const RecordDatabase& database, const std::vector<HistoryCurve>& curves,
                      HistoryRowReader::Order order);

}  // namespace orsan
