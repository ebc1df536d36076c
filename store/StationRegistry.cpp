#include "StationRegistry.h"

#include <sqlite3.h>
#include <unistd.h>

#include <QUuid>
#include <climits>
#include <filesystem>
#include <memory>

#include "CoreText.h"
#include "PgSession.h"
#include "ServerSchema.h"

namespace orsan::store {

namespace {

struct SqliteCloser {
    void operator()(sqlite3* db) const { sqlite3_close(db); }
};

// Waits this long for the record writer's lock instead of failing at once.
constexpr int kBusyTimeoutMs = 5000;

}  // namespace

const ServerTable& StationsTable() {
    static const ServerTable table{"stations",
                                   {{"name", "text"},
                                    {"host", "text"},
                                    {"folder", "text"},
                                    {"folder_path", "text"},
                                    {"first_seen", "timestamptz"},
                                    {"last_seen", "timestamptz"}},
                                   {"name"}};
    return table;
}

const ServerTable& SensorsTable() {
    static const ServerTable table{"sensors",
                                   {{"station", "text"}, {"sensor", "smallint"}, {"name", "text"}},
                                   {"station", "sensor"}};
    return table;
}

std::optional<std::string> LoadFolderIdentity(const std::string& databasePath, std::string* error) {
    auto fail = [&](const char* what, sqlite3* db) -> std::optional<std::string> {
        if (error)
            *error = CoreText::translate("StationRegistry", "本地数据库 %1: %2%3")
                         .With({databasePath, CoreText::translate("StationRegistry", what).Str(),
                                db ? std::string(": ") + sqlite3_errmsg(db) : ""});
        return std::nullopt;
    };
    std::error_code ec;
    if (!std::filesystem::is_regular_file(databasePath, ec))
        return fail(QT_TRANSLATE_NOOP("StationRegistry", "尚不存在"), nullptr);
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(databasePath.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    const std::unique_ptr<sqlite3, SqliteCloser> db(raw);
    if (opened != SQLITE_OK) return fail(QT_TRANSLATE_NOOP("StationRegistry", "无法打开"), raw);
    sqlite3_busy_timeout(raw, kBusyTimeoutMs);
    // One row, written once: a second forwarder of the same folder keeps the first id.
    const std::string fresh = QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
    const std::string make =
        "CREATE TABLE IF NOT EXISTS store_identity (one INTEGER PRIMARY KEY CHECK (one = 1), "
        "id TEXT NOT NULL); INSERT OR IGNORE INTO store_identity VALUES (1, '" +
        fresh + "')";
    if (sqlite3_exec(raw, make.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        return fail(QT_TRANSLATE_NOOP("StationRegistry", "无法建立数据文件夹标识"), raw);
    sqlite3_stmt* statement = nullptr;
    std::optional<std::string> id;
    if (sqlite3_prepare_v2(raw, "SELECT id FROM store_identity", -1, &statement, nullptr) ==
            SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        id = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    sqlite3_finalize(statement);
    if (!id) return fail(QT_TRANSLATE_NOOP("StationRegistry", "无法读取数据文件夹标识"), raw);
    return id;
}

std::string LocalHostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0) return "?";
    return name;
}

ClaimAnswer ClaimStation(PgSession& session, const StationClaimant& claimant) {
    if (std::string problem = EnsureTable(session, StationsTable()); !problem.empty())
        return {false, problem};
    PgOutcome outcome;
    const PgResultPtr held = session.Query(
        "INSERT INTO stations (name, host, folder, folder_path, first_seen, last_seen) "
        "VALUES ($1, $2, $3, $4, now(), now()) ON CONFLICT (name) DO UPDATE SET "
        "host = excluded.host, folder_path = excluded.folder_path, last_seen = now() "
        "WHERE stations.folder = excluded.folder RETURNING 1",
        {claimant.station, claimant.host, claimant.folderId, claimant.folderPath}, &outcome);
    if (!outcome.ok)
        return {
            false,
            CoreText::translate("StationRegistry", "无法登记站点名: %1").With({outcome.message})};
    if (PQntuples(held.get()) > 0) return {};
    std::string error;
    const std::optional<StationClaimant> holder = StationHolder(session, claimant.station, &error);
    if (!holder || holder->folderId.empty())
        return {false,
                CoreText::translate("StationRegistry", "无法读取站点名的持有者: %1").With({error})};
    std::string text = NameHeldText(*holder);
    // Same host and folder, another id: DataRecord.db was replaced. Only
    // someone who knows may hand the name over; two machines imaged alike
    // look the same.
    if (holder->host == claimant.host && holder->folderPath == claimant.folderPath)
        text += CoreText::translate(
                    "StationRegistry",
                    "（若本文件夹的 DataRecord.db 换过，可由管理员删除服务器表 stations 中站点名 "
                    "%1 的一行）")
                    .With({claimant.station})
                    .Str();
    return {true, text};
}

std::optional<StationClaimant> StationHolder(PgSession& session, const std::string& station,
                                             std::string* error) {
    StationClaimant found;
    found.station = station;
    PgOutcome outcome;
    const PgResultPtr table =
        session.Query("SELECT to_regclass('stations') IS NOT NULL", {}, &outcome);
    if (outcome.ok && std::string(PQgetvalue(table.get(), 0, 0)) != "t") return found;
    PgResultPtr holder;
    if (outcome.ok)
        holder = session.Query("SELECT host, folder, folder_path FROM stations WHERE name = $1",
                               {station}, &outcome);
    if (!outcome.ok) {
        if (error) *error = outcome.message;
        return std::nullopt;
    }
    if (PQntuples(holder.get()) > 0) {
        found.host = PQgetvalue(holder.get(), 0, 0);
        found.folderId = PQgetvalue(holder.get(), 0, 1);
        found.folderPath = PQgetvalue(holder.get(), 0, 2);
    }
    return found;
}

std::string NameHeldText(const StationClaimant& holder) {
    return CoreText::translate(
               "StationRegistry",
               "站点名 %1 已被 主机 %2 上的数据文件夹 %3（标识 %4）使用；本站的数据只记录在本地，"
               "请改用其他站点名")
        .With({holder.station, holder.host, holder.folderPath, holder.folderId});
}

std::string SaveSensorNames(PgSession& session, const std::string& station, SensorMask sensors,
                            const SensorNames& names) {
    if (std::string problem = EnsureTable(session, SensorsTable()); !problem.empty())
        return problem;
    for (int s = 0; s < kStoreSensors; ++s) {
        if (!sensors.test(size_t(s))) continue;
        PgOutcome outcome;
        session.Query(
            "INSERT INTO sensors (station, sensor, name) VALUES ($1, $2, NULLIF($3, '')) "
            "ON CONFLICT (station, sensor) DO UPDATE SET name = excluded.name RETURNING 1",
            {station, std::to_string(s + 1), names[size_t(s)]}, &outcome);
        if (!outcome.ok)
            return CoreText::translate("StationRegistry", "无法写入传感器名称: %1")
                .With({outcome.message});
    }
    return {};
}

}  // namespace orsan::store
