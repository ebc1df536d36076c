#include "RecordRange.h"

#include <QSqlQuery>

namespace orsan {

namespace {

// Far beyond any 32-bit Time and still far from overflowing Time * 1000.
constexpr qint64 kUnboundedMs = qint64(1) << 50;

}  // namespace

RecordRange RecordRange::All() {
    return {-kUnboundedMs, kUnboundedMs};
}

bool RecordRange::IsAll() const {
    return fromMs <= -kUnboundedMs && toMs >= kUnboundedMs;
}

qint64 FloorSeconds(qint64 ms) {
    return ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
}

QString RangeCondition() {
    return QStringLiteral("Time BETWEEN ? AND ? AND Time*1000+msTime BETWEEN ? AND ?");
}

void BindRange(QSqlQuery& query, const RecordRange& range, int first) {
    query.bindValue(first, FloorSeconds(range.fromMs));
    query.bindValue(first + 1, FloorSeconds(range.toMs));
    query.bindValue(first + 2, range.fromMs);
    query.bindValue(first + 3, range.toMs);
}

}  // namespace orsan
