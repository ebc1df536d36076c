#include "TableAccess.h"

#include <algorithm>

#include "CoreText.h"
#include "PgSession.h"
#include "ReadingsConflicts.h"
#include "ServerSchema.h"
#include "StationRegistry.h"

namespace orsan::store {

namespace {

// The rights each table needs: a batch sent again goes through a temporary
// table made LIKE the target, which reads its definition (SELECT); the
// name and sensor tables are updated in place.
std::string NeededRights(const std::string& table) {
    if (table == StationsTable().name || table == SensorsTable().name)
        return "SELECT,INSERT,UPDATE";
    return "SELECT,INSERT";
}

std::string FirstValue(const PgResultPtr& result) {
    return result && PQntuples(result.get()) > 0 ? PQgetvalue(result.get(), 0, 0) : "";
}

}  // namespace

std::vector<const ServerTable*> StationWrittenTables() {
    return {&ReadingsTable(), &ReadingsConflictsTable(), &AlarmEventsTable(), &StationsTable(),
            &SensorsTable()};
}

TableReport InspectTable(PgSession& session, const ServerTable& table) {
    const auto says = [&table](const char* what, const std::string& detail = {}) {
        return CoreText::translate("TableAccess", "表 %1: %2")
            .With({table.name, CoreText::translate("TableAccess", what).With({detail}).Str()});
    };
    bool exists = false;
    if (const std::string problem = CheckTable(session, table, &exists); !problem.empty())
        return {TableUse::Unusable, problem};
    PgOutcome outcome;
    if (!exists) {
        const PgResultPtr may = session.Query(
            "SELECT coalesce(has_schema_privilege(current_schema(), 'CREATE'), false)", {},
            &outcome);
        if (!outcome.ok)
            return {TableUse::Unusable,
                    says(QT_TRANSLATE_NOOP("TableAccess", "无法读取权限: %1"), outcome.message)};
        if (FirstValue(may) == "t")
            return {TableUse::Creatable,
                    says(QT_TRANSLATE_NOOP("TableAccess", "尚不存在，首次发送时自动建立"))};
        return {
            TableUse::Missing,
            says(QT_TRANSLATE_NOOP("TableAccess", "尚不存在，本站的登录无权建立，需由管理员建立"))};
    }
    const PgResultPtr lacking = session.Query(
        "SELECT string_agg(r, ', ') FROM unnest(string_to_array($2, ',')) r "
        "WHERE NOT has_table_privilege($1, r)",
        {table.name, NeededRights(table.name)}, &outcome);
    if (!outcome.ok)
        return {TableUse::Unusable,
                says(QT_TRANSLATE_NOOP("TableAccess", "无法读取权限: %1"), outcome.message)};
    if (const std::string rights = FirstValue(lacking); !rights.empty())
        return {TableUse::Unusable,
                says(QT_TRANSLATE_NOOP("TableAccess", "本站的登录缺少权限 %1"), rights)};
    return {TableUse::Writable, says(QT_TRANSLATE_NOOP("TableAccess", "可以写入"))};
}

void ForwardStream::Outcome(const std::string& error) {
    if (error.empty()) {
        error_.clear();
        delay_ = first_;
        return;
    }
    error_ = error;
    retryAt_ = Clock::now() + delay_;
    delay_ = std::min(delay_ * 2, last_);
}

}  // namespace orsan::store
