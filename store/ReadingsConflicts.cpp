#include "ReadingsConflicts.h"

#include <cstdlib>

#include "ReadingsCopyBinary.h"
#include "ServerSchema.h"

namespace orsan::store {

namespace {

constexpr const char* kArriving = "store_arriving_readings";

std::string ValueList(const char* alias) {
    std::string list;
    for (const char* column : kReadingValueColumns)
        list += (list.empty() ? "" : ", ") + std::string(alias) + "." + column;
    return list;
}

}  // namespace

const ServerTable& ReadingsConflictsTable() {
    static const ServerTable table = [] {
        ServerTable t = ReadingsTable();
        t.name = "readings_conflicts";
        t.columns.push_back({"local_row", "bigint"});
        t.columns.push_back({"arrived", "timestamptz NOT NULL DEFAULT now()"});
        // A batch sent again after a lost answer keeps each conflict once.
        t.key.push_back("local_row");
        return t;
    }();
    return table;
}

PgOutcome StoreReadingsKeepingConflicts(PgSession& session, std::string_view copy,
                                        const std::vector<int64_t>& rowIds, int64_t* conflicts) {
    *conflicts = 0;
    if (const std::string problem = EnsureTable(session, ReadingsConflictsTable());
        !problem.empty())
        return PgOutcome{false, {}, problem};
    const ServerTable& readings = ReadingsTable();
    const std::string columns = readings.ColumnList();
    const std::string arriving = kArriving;
    PgOutcome outcome = session.Exec("BEGIN");
    if (outcome.ok)
        outcome = session.Exec("CREATE TEMP TABLE IF NOT EXISTS " + arriving +
                               " (local_row bigint, LIKE readings) ON COMMIT DELETE ROWS");
    if (outcome.ok)
        outcome = session.CopyIn(
            "COPY " + arriving + " (local_row, " + columns + ") FROM STDIN WITH (FORMAT binary)",
            WithLeadingRowIds(copy, rowIds));
    // Every key of the batch is on the server after this: its own row, an
    // earlier one, or another writer's.
    if (outcome.ok)
        outcome = session.Exec("INSERT INTO readings (" + columns + ") SELECT DISTINCT ON " +
                               readings.KeyList() + " " + columns + " FROM " + arriving +
                               " ORDER BY station, time, sensor, local_row ON CONFLICT DO NOTHING");
    PgResultPtr kept;
    if (outcome.ok) {
        std::string selected;
        for (const auto& column : readings.columns) selected += "a." + column.first + ", ";
        kept = session.Query("WITH kept AS (INSERT INTO readings_conflicts (" + columns +
                                 ", local_row, arrived) "
                                 "SELECT " +
                                 selected + "a.local_row, now() FROM " + arriving +
                                 " a JOIN readings r USING (station, time, sensor) WHERE (" +
                                 ValueList("a") + ") IS DISTINCT FROM (" + ValueList("r") +
                                 ") ON CONFLICT DO NOTHING RETURNING 1) SELECT count(*) FROM kept",
                             {}, &outcome);
    }
    if (outcome.ok) outcome = session.Exec("COMMIT");
    if (!outcome.ok) {
        session.Exec("ROLLBACK");
        return outcome;
    }
    *conflicts = std::strtoll(PQgetvalue(kept.get(), 0, 0), nullptr, 10);
    return outcome;
}

}  // namespace orsan::store
