#include "ServerSummaryViews.h"

#include "CoreText.h"
#include "PgSession.h"
#include "ServerSchema.h"

namespace orsan::store {

namespace {

const std::pair<const char*, const char*> kViews[] = {{"readings_hourly", "hour"},
                                                      {"readings_daily", "day"}};

std::string Text(const char* chinese, const std::string& name, const std::string& reason) {
    return CoreText::translate("ServerSummaryViews", chinese).With({name, reason}).Str();
}

}  // namespace

std::string SummaryViewSql(const std::string& name, const std::string& unit) {
    const std::string start = "date_trunc('" + unit + "', time, 'UTC')";
    std::string sql = "CREATE OR REPLACE VIEW " + name + " AS SELECT station, sensor, " + start +
                      " AS start, count(*) AS readings";
    for (const char* column : kReadingValueColumns) {
        const std::string c = column;
        sql += ", min(" + c + ") AS " + c + "_min, avg(" + c + ") AS " + c + "_mean, max(" + c +
               ") AS " + c + "_max";
    }
    return sql + " FROM readings GROUP BY station, sensor, " + start;
}

std::string EnsureSummaryViews(PgSession& session, bool* made) {
    *made = false;
    PgOutcome outcome;
    const PgResultPtr found = session.Query(
        "SELECT to_regclass('readings') IS NOT NULL, to_regclass('readings_hourly') IS NOT NULL "
        "AND to_regclass('readings_daily') IS NOT NULL",
        {}, &outcome);
    if (!outcome.ok)
        return Text(QT_TRANSLATE_NOOP("ServerSummaryViews", "无法读取服务器的视图 %1: %2"),
                    "readings_hourly", outcome.message);
    // The views follow the readings table, made with the first rows.
    if (std::string(PQgetvalue(found.get(), 0, 0)) != "t") return {};
    if (std::string(PQgetvalue(found.get(), 0, 1)) == "t") {
        *made = true;
        return {};
    }
    for (const auto& [name, unit] : kViews) {
        outcome = session.Exec(SummaryViewSql(name, unit));
        if (outcome.sqlState == "42501")
            return Text(
                QT_TRANSLATE_NOOP("ServerSummaryViews",
                                  "服务器上没有视图 %1，本站的登录无权建立，需由管理员建立: %2"),
                name, outcome.message);
        if (!outcome.ok)
            return Text(QT_TRANSLATE_NOOP("ServerSummaryViews", "无法在服务器上建立视图 %1: %2"),
                        name, outcome.message);
    }
    *made = true;
    return {};
}

}  // namespace orsan::store
