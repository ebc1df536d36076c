#pragma once

#include <QString>
#include <QtGlobal>

class QSqlQuery;

namespace orsan {

// A span of record time in milliseconds since 1970-01-01 UTC, both ends
// included. A row's time is Time * 1000 + msTime.
struct RecordRange {
    qint64 fromMs = 0;
    qint64 toMs = 0;

    // Wide enough for every 32-bit Time.
    static RecordRange All();
    static RecordRange Between(qint64 fromMs, qint64 toMs) { return {fromMs, toMs}; }

    bool IsAll() const;
    bool IsEmpty() const { return toMs < fromMs; }
    bool Contains(qint64 ms) const { return ms >= fromMs && ms <= toMs; }
    bool operator==(const RecordRange&) const = default;
};

// A row time from its two columns.
inline qint64 RowTimeMs(qint64 time, qint64 milliseconds) {
    return time * 1000 + milliseconds;
}

// Whole seconds of an instant, rounded down (also before 1970).
qint64 FloorSeconds(qint64 ms);

// "Time BETWEEN ? AND ? AND Time*1000+msTime BETWEEN ? AND ?": the first
// pair lets the Time index find the rows, the second decides at the edges.
QString RangeCondition();
// Binds the four values of RangeCondition at positions first .. first + 3.
void BindRange(QSqlQuery& query, const RecordRange& range, int first = 0);

}  // namespace orsan
