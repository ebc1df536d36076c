#pragma once

#include <QColor>
#include <vector>

#include "HistoryBands.h"
#include "RecordDatabase.h"
#include "RecordSummaries.h"

namespace orsan {

// The record's hourly or daily summaries of `curves` ((sensor, quantity)
// pairs: one machine's ten curves, or one quantity of several machines)
// from `from` to `to` (seconds) as the history chart's bands, in the
// colours given per curve (none: each quantity's curve colour). False with
// nothing in *error when the file keeps no summaries, false with the reason
// when SQLite refuses.
bool ReadSummaryBands(RecordDatabase& database, double from, double to, HistoryDetail detail,
                      const std::vector<SummaryCurve>& curves, const std::vector<QColor>& colors,
                      HistoryBands* bands, QString* error);

}  // namespace orsan
