#pragma once

#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "HistoryCurves.h"
#include "RecordDatabase.h"
#include "RecordRange.h"
#include "RecordRowCursor.h"

namespace orsan {

// Streams the rows of a range with one value per history curve (sensor,
// quantity), in (Time, rowid) order, straight through SQLite's C interface
// on the database's own connection: each sensor's freshness is known once a
// row, however many of its quantities are drawn.
class HistoryRowReader {
public:
    using Order = RecordRowCursor::Order;  // oldest first, or newest first

    // At most kCurveCount curves; limit 0 for every row. A curve naming no
    // sensor or quantity, or a failure to prepare, shows in Error().
    HistoryRowReader(RecordDatabase& database, const std::vector<HistoryCurve>& curves,
                     const RecordRange& range, Order order = Order::Oldest, int limit = 0);
    HistoryRowReader(const HistoryRowReader&) = delete;
    HistoryRowReader& operator=(const HistoryRowReader&) = delete;

    // The next row; false at the end or on a failure (Error() then says why).
    bool Next();
    const QString& Error() const { return rows_ ? rows_->Error() : error_; }

    qint64 TimeMs() const { return rows_->TimeMs(); }
    // Per slot the curve's value; NaN for a stale reading, a NULL, a text,
    // and for the slots past the last curve.
    void Values(std::array<float, kCurveCount>& values) const;
    HistoryRow Row() const;

private:
    QString error_;                        // curves out of range
    std::optional<RecordRowCursor> rows_;  // none for curves out of range
    int slots_ = 0;
    std::array<int, kCurveCount> freshOfSlot_{};  // index among the sensors read
};

}  // namespace orsan
