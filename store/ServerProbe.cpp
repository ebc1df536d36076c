#include "ServerProbe.h"

#include "PgSession.h"
#include "ServerSchema.h"

namespace orsan::store {

ServerAnswer ProbeServer(const std::string& conninfo) {
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
    bool exists = false;
    const std::string problem = CheckTable(session, ReadingsTable(), &exists);
    if (!problem.empty()) return {false, text + "\n" + problem};
    text +=
        exists ? "\n表 readings 已存在，可以写入" : "\n表 readings 尚不存在，首次发送时自动建立";
    return {true, text};
}

}  // namespace orsan::store
