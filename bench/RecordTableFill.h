#pragma once

#include <QString>

namespace orsan::bench {

// Makes folder/DataRecord.db in the station's schema holding `rows` rows,
// row i (from 0) at the Time and msTime of `timeColumns` (two SQL
// expressions of i), values varied by i and rounded as the record writer
// stores them, every reading fresh. Made for benchmarks, not to survive a
// crash meanwhile: a caller marks the folder complete only after success.
bool FillRecordTable(const QString& folder, qint64 rows, const QString& timeColumns,
                     QString* error);

}  // namespace orsan::bench
