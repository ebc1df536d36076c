#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "PgSession.h"

namespace orsan::store {

struct ServerTable;

// readings_conflicts: a reading whose key (station, time, sensor) the server
// already held with other values (a clock set back, two stations under one
// name), with the local rowid it came from and when it arrived. Nothing is
// thrown away without a trace.
const ServerTable& ReadingsConflictsTable();

// Stores a binary COPY of `readings` (ReadingsCopyBinary.h) of which the
// server may hold some rows already, all or none: a row new to the server goes to `readings` (of
// rows sharing a key, the one of the lowest local row), one identical to what the server holds is
// skipped (a batch sent again), and one that differs goes to readings_conflicts. `rowIds` holds
// each row's local rowid; *conflicts gets the number of rows newly kept there.
PgOutcome StoreReadingsKeepingConflicts(PgSession& session, std::string_view copy,
                                        const std::vector<int64_t>& rowIds, int64_t* conflicts);

}  // namespace orsan::store
