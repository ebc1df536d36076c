#include "ServerProbe.h"

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
    if (!holder) return "无法读取站点名的持有者: " + error;
    if (holder->folderId.empty()) return "站点名 " + station + " 尚未登记，首次发送时登记";
    const std::optional<std::string> own = LoadFolderIdentity(databasePath, nullptr);
    *fine = own && *own == holder->folderId;
    return *fine ? "站点名 " + station + " 已由本数据文件夹登记" : NameHeldText(*holder);
}

}  // namespace

ServerAnswer ProbeServer(const std::string& conninfo, const std::string& station,
                         const std::string& databasePath) {
    if (conninfo.find_first_not_of(" \t") == std::string::npos) return {false, "未填写连接字符串"};
    PgSession session(conninfo);
    if (!session.Connected()) return {false, "连接失败: " + session.Error()};
    PgOutcome outcome;
    const PgResultPtr who = session.Query(
        "SELECT split_part(version(), ' ', 2), current_database(), current_user", {}, &outcome);
    if (!outcome.ok) return {false, "服务器拒绝查询: " + outcome.message};
    std::string text = "连接成功: PostgreSQL " + std::string(PQgetvalue(who.get(), 0, 0)) +
                       "，数据库 " + PQgetvalue(who.get(), 0, 1) + "，用户 " +
                       PQgetvalue(who.get(), 0, 2) + "（" + session.ServerIdentity() + "）";
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
