#include "ServerProbe.h"

#include "CoreText.h"
#include "PgSession.h"
#include "ServerSchema.h"
#include "StationRegistry.h"
#include "TableAccess.h"

namespace orsan::store {

namespace {

// Whether `station` is free, this folder's, or held by another folder.
std::string NameAnswer(PgSession& session, const std::string& station,
                       const std::string& databasePath, bool* fine) {
    std::string error;
    const std::optional<StationClaimant> holder = StationHolder(session, station, &error);
    *fine = holder.has_value();
    if (!holder)
        return CoreText::translate("ServerProbe", "无法读取站点名的持有者: %1").With({error});
    if (holder->folderId.empty())
        return CoreText::translate("ServerProbe", "站点名 %1 尚未登记，首次发送时登记")
            .With({station});
    const std::optional<std::string> own = LoadFolderIdentity(databasePath, nullptr);
    *fine = own && *own == holder->folderId;
    return *fine ? CoreText::translate("ServerProbe", "站点名 %1 已由本数据文件夹登记")
                       .With({station})
                 : NameHeldText(*holder);
}

}  // namespace

ServerAnswer ProbeServer(const std::string& conninfo, const std::string& station,
                         const std::string& databasePath) {
    if (conninfo.find_first_not_of(" \t") == std::string::npos)
        return {false, CoreText::translate("ServerProbe", "未填写连接字符串")};
    PgSession session(conninfo);
    if (!session.Connected())
        return {false, CoreText::translate("ServerProbe", "连接失败: %1").With({session.Error()})};
    PgOutcome outcome;
    const PgResultPtr who = session.Query(
        "SELECT split_part(version(), ' ', 2), current_database(), current_user", {}, &outcome);
    if (!outcome.ok)
        return {false,
                CoreText::translate("ServerProbe", "服务器拒绝查询: %1").With({outcome.message})};
    std::string text =
        CoreText::translate("ServerProbe", "连接成功: PostgreSQL %1，数据库 %2，用户 %3（%4）")
            .With({PQgetvalue(who.get(), 0, 0), PQgetvalue(who.get(), 0, 1),
                   PQgetvalue(who.get(), 0, 2), session.ServerIdentity()});
    // Every table, so a login that may write some and not others is told
    // which before the first send.
    bool allFine = true;
    for (const ServerTable* table : StationWrittenTables()) {
        const TableReport report = InspectTable(session, *table);
        text += "\n" + report.text;
        allFine =
            allFine && (report.use == TableUse::Writable || report.use == TableUse::Creatable);
    }
    if (!station.empty()) {
        bool fine = false;
        text += "\n" + NameAnswer(session, station, databasePath, &fine);
        allFine = allFine && fine;
    }
    return {allFine, text};
}

}  // namespace orsan::store
