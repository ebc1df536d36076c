#include "ServerSchema.h"

#include <set>

#include "PgSession.h"

namespace orsan::store {

namespace {

std::string CreateReadingsSql() {
    std::string sql =
        "CREATE TABLE IF NOT EXISTS readings (station text, time timestamptz, sensor smallint";
    for (const char* column : kReadingValueColumns) sql += std::string(", ") + column + " real";
    return sql + ", primary key (station, time, sensor))";
}

}  // namespace

const std::string& ReadingsColumnList() {
    static const std::string list = [] {
        std::string l = "station, time, sensor";
        for (const char* column : kReadingValueColumns) l += std::string(", ") + column;
        return l;
    }();
    return list;
}

std::string EnsureReadingsTable(PgSession& session) {
    bool exists = false;
    const std::string problem = CheckReadingsTable(session, &exists);
    if (!problem.empty() || exists) return problem;
    const PgOutcome outcome = session.Exec(CreateReadingsSql());
    if (!outcome.ok) return "无法在服务器上建立表 readings: " + outcome.message;
    return {};
}

std::string CheckReadingsTable(PgSession& session, bool* exists) {
    *exists = false;
    PgOutcome outcome;
    PgResultPtr table = session.Query("SELECT to_regclass('readings') IS NOT NULL", {}, &outcome);
    if (!outcome.ok) return "无法读取服务器的表: " + outcome.message;
    if (std::string(PQgetvalue(table.get(), 0, 0)) != "t") return {};
    *exists = true;

    PgResultPtr columns = session.Query(
        "SELECT attname FROM pg_attribute WHERE attrelid = 'readings'::regclass "
        "AND attnum > 0 AND NOT attisdropped",
        {}, &outcome);
    if (!outcome.ok) return "无法读取服务器表 readings 的列: " + outcome.message;
    std::set<std::string> found;
    for (int r = 0; r < PQntuples(columns.get()); ++r)
        found.insert(PQgetvalue(columns.get(), r, 0));
    std::string missing;
    auto need = [&](const std::string& column) {
        if (found.count(column)) return;
        missing += (missing.empty() ? "" : ", ") + column;
    };
    need("station");
    need("time");
    need("sensor");
    for (const char* column : kReadingValueColumns) need(column);
    if (!missing.empty())
        return "服务器上已有的表 readings 不是本站建立的，缺少列: " + missing + "；不向其写入";

    // Without this key a re-sent batch would double its rows.
    PgResultPtr key = session.Query(
        "SELECT 1 FROM pg_index i WHERE i.indrelid = 'readings'::regclass AND i.indisunique "
        "AND i.indpred IS NULL AND (SELECT array_agg(a.attname::text ORDER BY a.attname) "
        "FROM pg_attribute a WHERE a.attrelid = i.indrelid AND a.attnum = ANY(i.indkey)) "
        "= ARRAY['sensor', 'station', 'time'] AND i.indnkeyatts = 3",
        {}, &outcome);
    if (!outcome.ok) return "无法读取服务器表 readings 的键: " + outcome.message;
    if (PQntuples(key.get()) == 0)
        return "服务器上已有的表 readings 不是本站建立的，缺少唯一键 (station, time, sensor)；"
               "不向其写入";
    return {};
}

}  // namespace orsan::store
