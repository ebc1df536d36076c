#include "ServerSchema.h"

#include <algorithm>
#include <map>

#include "CoreText.h"
#include "PgSession.h"

namespace orsan::store {

namespace {

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

}  // namespace

std::string ServerTable::ColumnList() const {
    std::vector<std::string> names;
    for (const auto& column : columns) names.push_back(column.first);
    return Joined(names);
}

std::string ServerTable::KeyList() const {
    return "(" + Joined(key) + ")";
}

std::string ServerTable::CreateSql() const {
    std::string sql = "CREATE TABLE IF NOT EXISTS " + name + " (";
    for (const auto& [column, type] : columns) sql += column + " " + type + ", ";
    return sql + "primary key " + KeyList() + ")";
}

const ServerTable& ReadingsTable() {
    static const ServerTable table = [] {
        ServerTable t{"readings",
                      {{"station", "text"}, {"time", "timestamptz"}, {"sensor", "smallint"}},
                      {"station", "time", "sensor"}};
        for (const char* column : kReadingValueColumns) t.columns.push_back({column, "real"});
        return t;
    }();
    return table;
}

const ServerTable& AlarmEventsTable() {
    static const ServerTable table{"alarm_events",
                                   {{"station", "text"},
                                    {"time", "timestamptz"},
                                    {"sensor", "smallint"},
                                    {"axis", "text"},
                                    {"value", "real"},
                                    {"zone", "text"},
                                    {"kind", "text"},
                                    {"ack", "boolean"},
                                    {"ack_by", "text"},
                                    {"ack_time", "timestamptz"}},
                                   {"station", "time", "sensor", "axis", "kind"},
                                   {"ack_by", "ack_time"}};
    return table;
}

std::string EnsureTable(PgSession& session, const ServerTable& table) {
    bool exists = false;
    std::vector<std::string> later;
    const std::string problem = CheckTable(session, table, &exists, &later);
    if (!problem.empty()) return problem;
    if (exists) {
        if (later.empty()) return {};
        std::vector<std::string> clauses;
        for (const auto& [column, type] : table.columns)
            if (std::find(later.begin(), later.end(), column) != later.end())
                clauses.push_back("ADD COLUMN IF NOT EXISTS " + column + " " + type);
        const PgOutcome added = session.Exec("ALTER TABLE " + table.name + " " + Joined(clauses));
        if (!added.ok)
            return CoreText::translate("ServerSchema", "无法为服务器表 %1 添加列: %2")
                .With({table.name, added.message});
        return {};
    }
    const PgOutcome outcome = session.Exec(table.CreateSql());
    // A login that may write but not create: someone with the right makes the table.
    if (outcome.sqlState == "42501")
        return CoreText::translate("ServerSchema",
                                   "服务器上没有表 %1，本站的登录无权建立，需由管理员建立: %2")
            .With({table.name, outcome.message});
    if (!outcome.ok)
        return CoreText::translate("ServerSchema", "无法在服务器上建立表 %1: %2")
            .With({table.name, outcome.message});
    return {};
}

std::string CheckTable(PgSession& session, const ServerTable& table, bool* exists,
                       std::vector<std::string>* missingLater) {
    *exists = false;
    if (missingLater) missingLater->clear();
    PgOutcome outcome;
    const PgResultPtr found =
        session.Query("SELECT to_regclass($1) IS NOT NULL", {table.name}, &outcome);
    if (!outcome.ok)
        return CoreText::translate("ServerSchema", "无法读取服务器的表: %1")
            .With({outcome.message});
    if (std::string(PQgetvalue(found.get(), 0, 0)) != "t") return {};
    *exists = true;

    const PgResultPtr columns = session.Query(
        "SELECT attname, format_type(atttypid, NULL) FROM pg_attribute WHERE "
        "attrelid = $1::regclass AND attnum > 0 AND NOT attisdropped",
        {table.name}, &outcome);
    if (!outcome.ok)
        return CoreText::translate("ServerSchema", "无法读取服务器表 %1 的列: %2")
            .With({table.name, outcome.message});
    std::map<std::string, std::string> present;  // name, type
    for (int r = 0; r < PQntuples(columns.get()); ++r)
        present[PQgetvalue(columns.get(), r, 0)] = PQgetvalue(columns.get(), r, 1);
    std::vector<std::string> missing, otherType;
    for (const auto& [column, type] : table.columns) {
        const auto found = present.find(column);
        if (found == present.end()) {
            const auto& later = table.laterColumns;
            if (std::find(later.begin(), later.end(), column) == later.end())
                missing.push_back(column);
            else if (missingLater)
                missingLater->push_back(column);
            continue;
        }
        // Readings go in COPY's binary format, which takes the bytes of
        // another type of the same size without a word.
        const std::string wanted = type.substr(0, type.find(' '));
        const std::string named = wanted == "timestamptz" ? "timestamp with time zone" : wanted;
        if (found->second != named)
            otherType.push_back(CoreText::translate("ServerSchema", "%1 为 %2，应为 %3")
                                    .With({column, found->second, named}));
    }
    if (!missing.empty())
        return CoreText::translate("ServerSchema",
                                   "服务器上已有的表 %1 不是本站建立的，缺少列: %2；不向其写入")
            .With({table.name, Joined(missing)});
    if (!otherType.empty())
        return CoreText::translate("ServerSchema",
                                   "服务器上已有的表 %1 不是本站建立的，列类型不符: %2；不向其写入")
            .With({table.name, Joined(otherType)});

    // Without this key a re-sent batch would double its rows.
    std::vector<std::string> sortedKey = table.key;
    std::sort(sortedKey.begin(), sortedKey.end());
    std::string keyArray;
    for (const std::string& column : sortedKey) keyArray += (keyArray.empty() ? "{" : ",") + column;
    const PgResultPtr key = session.Query(
        "SELECT 1 FROM pg_index i WHERE i.indrelid = $1::regclass AND i.indisunique "
        "AND i.indpred IS NULL AND i.indnkeyatts = $3::int AND (SELECT array_agg(a.attname::text "
        "ORDER BY a.attname) FROM pg_attribute a WHERE a.attrelid = i.indrelid "
        "AND a.attnum = ANY(i.indkey)) = $2::text[]",
        {table.name, keyArray + "}", std::to_string(sortedKey.size())}, &outcome);
    if (!outcome.ok)
        return CoreText::translate("ServerSchema", "无法读取服务器表 %1 的键: %2")
            .With({table.name, outcome.message});
    if (PQntuples(key.get()) == 0)
        return CoreText::translate("ServerSchema",
                                   "服务器上已有的表 %1 不是本站建立的，缺少唯一键 %2；不向其写入")
            .With({table.name, table.KeyList()});
    return {};
}

}  // namespace orsan::store
