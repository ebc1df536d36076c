#include "LocalRecordSource.h"

#include <algorithm>
#include <charconv>
#include <filesystem>

#include "CoreText.h"

namespace orsan::store {

namespace {

// The statement ready for the page of `limit` rows after `rowId` (its two
// parameters): every read of the forwarder walks its table this way.
sqlite3_stmt* RowsAfter(sqlite3_stmt* read, int64_t rowId, int limit) {
    sqlite3_reset(read);
    sqlite3_bind_int64(read, 1, rowId);
    sqlite3_bind_int(read, 2, limit);
    return read;
}

// A slot's columns in the order of the server's value columns.
constexpr const char* kSlotStems[kStoreValues] = {"Temp", "Xacc", "Yacc",  "Zacc",  "Xvel",
                                                  "Yvel", "Zvel", "Xdisp", "Ydisp", "Zdisp"};

constexpr int kFirstValueColumn = 3;
constexpr int kFirstFreshColumn = kFirstValueColumn + kStoreSensors * kStoreValues;

// Ok<n> is 0 for a stale reading; NULL (rows from before the column) and a
// table without it count as fresh.
std::string ReadSql(int freshnessColumns) {
    std::string sql = "SELECT rowid, Time, msTime";
    for (int slot = 1; slot <= kStoreSensors; ++slot)
        for (const char* stem : kSlotStems) sql += ", " + std::string(stem) + std::to_string(slot);
    for (int slot = 1; slot <= kStoreSensors; ++slot)
        sql += slot <= freshnessColumns ? ", (Ok" + std::to_string(slot) + " IS NOT 0)" : ", 1";
    return sql + " FROM data WHERE rowid > ? ORDER BY rowid LIMIT ?";
}

// Waits this long for the record writer's lock instead of failing at once.
constexpr int kBusyTimeoutMs = 5000;

}  // namespace

LocalRecordSource::LocalRecordSource(std::string databasePath) : path_(std::move(databasePath)) {}

LocalRecordSource::~LocalRecordSource() {
    Close();
}

void LocalRecordSource::Close() {
    read_.reset();
    count_.reset();
    alarms_.reset();
    acks_.reset();
    history_.reset();
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
}

bool LocalRecordSource::Fail(const char* what) {
    error_ = CoreText::translate("LocalRecordSource", "本地数据库 %1: %2%3")
                 .With({path_, CoreText::translate("LocalRecordSource", what).Str(),
                        db_ ? std::string(": ") + sqlite3_errmsg(db_) : ""});
    Close();
    return false;
}

LocalRecordSource::Statement LocalRecordSource::Prepare(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    return Statement(statement);
}

bool LocalRecordSource::Open() {
    Close();
    error_.clear();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path_, ec)) return false;
    // Read-write without create: the file is the record writer's to make.
    if (sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK)
        return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "无法打开"));
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    Statement hasData = Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name='data'");
    if (!hasData) return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "无法读取"));
    const int step = sqlite3_step(hasData.get());
    hasData.reset();
    if (step == SQLITE_DONE) {
        Close();
        return false;
    }
    if (step != SQLITE_ROW) return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "无法读取"));
    if (sqlite3_exec(db_,
                     "CREATE TABLE IF NOT EXISTS store_position (target TEXT PRIMARY KEY, "
                     "row_id INTEGER NOT NULL, time INTEGER NOT NULL, ms INTEGER NOT NULL)",
                     nullptr, nullptr, nullptr) != SQLITE_OK)
        return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "无法建立位置表"));
    // A lost position only sends rows again, which the server skips: the
    // position need not wait for the disk.
    sqlite3_exec(db_, "PRAGMA synchronous = NORMAL", nullptr, nullptr, nullptr);
    count_ = Prepare("SELECT max(rowid) FROM data");
    if (!count_ || !PrepareRead())
        return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "表 data 的列不符"));
    return true;
}

int LocalRecordSource::FreshnessColumns() {
    Statement columns = Prepare("SELECT name FROM pragma_table_info('data')");
    int found = 0;
    while (columns && sqlite3_step(columns.get()) == SQLITE_ROW) {
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(columns.get(), 0));
        if (name && sqlite3_stricmp(name, ("Ok" + std::to_string(found + 1)).c_str()) == 0) ++found;
    }
    return found;
}

bool LocalRecordSource::PrepareRead() {
    freshnessColumns_ = FreshnessColumns();
    read_ = Prepare(ReadSql(freshnessColumns_));
    return read_ != nullptr;
}

bool LocalRecordSource::StillMatches(const char* table, const ForwardPosition& position) {
    if (position.rowId == 0) return true;
    Statement check =
        Prepare("SELECT Time, msTime FROM " + std::string(table) + " WHERE rowid = ?");
    if (!check) return false;
    sqlite3_bind_int64(check.get(), 1, position.rowId);
    return sqlite3_step(check.get()) == SQLITE_ROW &&
           sqlite3_column_int64(check.get(), 0) == position.time &&
           sqlite3_column_int(check.get(), 1) == position.milliseconds;
}

std::optional<ForwardPosition> LocalRecordSource::LoadPosition(const std::string& target,
                                                               const char* table) {
    if (!db_) return std::nullopt;
    Statement load = Prepare("SELECT row_id, time, ms FROM store_position WHERE target = ?");
    if (!load) {
        Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "无法读取位置"));
        return std::nullopt;
    }
    sqlite3_bind_text(load.get(), 1, target.c_str(), int(target.size()), SQLITE_TRANSIENT);
    ForwardPosition position;
    const int step = sqlite3_step(load.get());
    if (step == SQLITE_ROW) {
        position.rowId = sqlite3_column_int64(load.get(), 0);
        position.time = sqlite3_column_int64(load.get(), 1);
        position.milliseconds = sqlite3_column_int(load.get(), 2);
    } else if (step != SQLITE_DONE) {
        Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "无法读取位置"));
        return std::nullopt;
    }
    if (!StillMatches(table, position)) position = ForwardPosition{};
    return position;
}

bool LocalRecordSource::SavePosition(const std::string& target, const ForwardPosition& position) {
    if (!db_) return false;
    Statement save = Prepare(
        "INSERT INTO store_position (target, row_id, time, ms) VALUES (?, ?, ?, ?) "
        "ON CONFLICT (target) DO UPDATE SET row_id = excluded.row_id, time = excluded.time, "
        "ms = excluded.ms");
    if (!save) return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "无法保存位置"));
    sqlite3_bind_text(save.get(), 1, target.c_str(), int(target.size()), SQLITE_TRANSIENT);
    sqlite3_bind_int64(save.get(), 2, position.rowId);
    sqlite3_bind_int64(save.get(), 3, position.time);
    sqlite3_bind_int(save.get(), 4, position.milliseconds);
    if (sqlite3_step(save.get()) != SQLITE_DONE)
        return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "无法保存位置"));
    return true;
}

bool LocalRecordSource::ReadAfter(ForwardPosition& position, int limit,
                                  std::vector<LocalRecord>* records) {
    records->clear();
    if (!db_) return false;
    if (!StillMatches("data", position)) position = ForwardPosition{};
    // The station adds the freshness columns to an older table when it opens
    // it, maybe after this connection prepared its read.
    if (freshnessColumns_ < kStoreSensors && !PrepareRead())
        return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "表 data 的列不符"));
    sqlite3_stmt* read = RowsAfter(read_.get(), position.rowId, limit);
    int step;
    while ((step = sqlite3_step(read)) == SQLITE_ROW) {
        LocalRecord& record = records->emplace_back();
        record.rowId = sqlite3_column_int64(read, 0);
        record.time = sqlite3_column_int64(read, 1);
        record.milliseconds = sqlite3_column_int(read, 2);
        for (int v = 0; v < kStoreSensors * kStoreValues; ++v) {
            if (sqlite3_column_type(read, kFirstValueColumn + v) == SQLITE_NULL)
                record.isNull.set(size_t(v));
            else
                record.values[size_t(v)] = sqlite3_column_double(read, kFirstValueColumn + v);
        }
        for (int s = 0; s < kStoreSensors; ++s)
            record.fresh.set(size_t(s), sqlite3_column_int(read, kFirstFreshColumn + s) != 0);
    }
    sqlite3_reset(read);
    if (step != SQLITE_DONE) return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "读取记录失败"));
    // Read after the rows: the station notes a selection before the rows it
    // covers, so every entry these rows need is seen.
    return ApplySensorHistory(*records);
}

bool LocalRecordSource::ApplySensorHistory(std::vector<LocalRecord>& records) {
    if (records.empty()) return true;
    // An older file has no history until the station first notes one.
    if (!history_)
        history_ = Prepare("SELECT from_row, sensors FROM data_sensors ORDER BY from_row");
    if (!history_) return true;
    std::vector<std::pair<int64_t, SensorMask>> entries;
    sqlite3_stmt* read = history_.get();
    int step;
    while ((step = sqlite3_step(read)) == SQLITE_ROW)
        entries.emplace_back(sqlite3_column_int64(read, 0),
                             SensorMask(uint64_t(sqlite3_column_int64(read, 1))));
    sqlite3_reset(read);
    if (step != SQLITE_DONE)
        return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "读取传感器配置历史失败"));
    for (LocalRecord& record : records) {
        const auto after =
            std::upper_bound(entries.begin(), entries.end(), record.rowId,
                             [](int64_t rowId, const auto& entry) { return rowId < entry.first; });
        if (after != entries.begin()) record.recordedFor = std::prev(after)->second;
    }
    return true;
}

std::optional<int64_t> LocalRecordSource::CountAfter(const ForwardPosition& position) {
    if (!db_) return std::nullopt;
    sqlite3_stmt* count = count_.get();
    sqlite3_reset(count);
    std::optional<int64_t> rows;
    if (sqlite3_step(count) == SQLITE_ROW)
        rows = std::max<int64_t>(0, sqlite3_column_int64(count, 0) - position.rowId);
    sqlite3_reset(count);
    if (!rows) Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "计数失败"));
    return rows;
}

bool LocalRecordSource::HasTable(const char* name) {
    if (!db_) return false;
    Statement has = Prepare("SELECT 1 FROM sqlite_master WHERE type='table' AND name=?");
    if (!has) return false;
    sqlite3_bind_text(has.get(), 1, name, -1, SQLITE_STATIC);
    return sqlite3_step(has.get()) == SQLITE_ROW;
}

bool LocalRecordSource::HasAlarmTable() {
    return HasTable("alarm");
}

bool LocalRecordSource::HasAcknowledgementLog() {
    return HasTable("alarm_ack");
}

bool LocalRecordSource::AlarmHasAckColumns() {
    Statement columns = Prepare("SELECT 1 FROM pragma_table_info('alarm') WHERE name = 'AckTime'");
    return columns && sqlite3_step(columns.get()) == SQLITE_ROW;
}

namespace {

// Sends a text column, NULL as \N.
void AppendNullableText(std::string& out, sqlite3_stmt* read, int column) {
    if (sqlite3_column_type(read, column) == SQLITE_NULL) {
        out += "\\N";
        return;
    }
    AppendCopyField(out, reinterpret_cast<const char*>(sqlite3_column_text(read, column)));
}

// Seconds since the epoch as the server's time, NULL as \N.
void AppendNullableTime(std::string& out, sqlite3_stmt* read, int column) {
    if (sqlite3_column_type(read, column) == SQLITE_NULL) {
        out += "\\N";
        return;
    }
    out += FormatServerTime(sqlite3_column_int64(read, column), 0);
}

}  // namespace

bool LocalRecordSource::ReadAlarmsAfter(ForwardPosition& position, int limit,
                                        const std::string& station, std::string* copyText,
                                        int* count) {
    *count = 0;
    if (!db_) return false;
    // The station adds the acknowledgement columns to an older table when
    // it opens it, maybe after this connection prepared its read.
    if (!alarms_ || !alarmsWithAck_) {
        alarmsWithAck_ = AlarmHasAckColumns();
        alarms_ = Prepare(std::string("SELECT rowid, Time, msTime, Sensor, Axis, Value, Zone, "
                                      "Kind, Ack, ") +
                          (alarmsWithAck_ ? "AckBy, AckTime" : "NULL, NULL") +
                          " FROM alarm WHERE rowid > ? ORDER BY rowid LIMIT ?");
        if (!alarms_) return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "报警表 alarm 的列不符"));
    }
    if (!StillMatches("alarm", position)) position = ForwardPosition{};
    sqlite3_stmt* read = RowsAfter(alarms_.get(), position.rowId, limit);
    auto text = [read](int column) {
        const auto* chars = reinterpret_cast<const char*>(sqlite3_column_text(read, column));
        return std::string_view(chars ? chars : "");
    };
    int step;
    while ((step = sqlite3_step(read)) == SQLITE_ROW) {
        position = {sqlite3_column_int64(read, 0), sqlite3_column_int64(read, 1),
                    sqlite3_column_int(read, 2)};
        std::string& out = *copyText;
        AppendCopyField(out, station);
        out += '\t' + FormatServerTime(position.time, position.milliseconds) + '\t';
        out += std::to_string(sqlite3_column_int(read, 3)) + '\t';
        // Axis and kind are part of the key: an empty text rather than NULL.
        AppendCopyField(out, text(4));
        out += '\t';
        if (sqlite3_column_type(read, 5) == SQLITE_NULL) {
            out += "\\N";
        } else {
            char value[32];
            const auto written =
                std::to_chars(value, value + sizeof value, sqlite3_column_double(read, 5));
            out.append(value, written.ptr);
        }
        out += '\t';
        AppendCopyField(out, text(6));
        out += '\t';
        AppendCopyField(out, text(7));
        out += '\t';
        out += sqlite3_column_type(read, 8) == SQLITE_NULL ? "\\N"
               : sqlite3_column_int(read, 8) != 0          ? "t"
                                                           : "f";
        out += '\t';
        AppendNullableText(out, read, 9);
        out += '\t';
        AppendNullableTime(out, read, 10);
        out += '\n';
        ++*count;
    }
    sqlite3_reset(read);
    if (step != SQLITE_DONE)
        return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "读取报警记录失败"));
    return true;
}

bool LocalRecordSource::ReadAcknowledgementsAfter(ForwardPosition& position, int limit,
                                                  const std::string& station,
                                                  std::string* copyText, int* count) {
    *count = 0;
    if (!db_) return false;
    if (!acks_) {
        acks_ = Prepare(
            "SELECT k.rowid, k.Time, k.msTime, a.Time, a.msTime, a.Sensor, a.Axis, a.Kind, "
            "k.AckBy FROM alarm_ack k JOIN alarm a ON a.rowid = k.Alarm WHERE k.rowid > ? "
            "ORDER BY k.rowid LIMIT ?");
        if (!acks_)
            return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "确认记录表 alarm_ack 的列不符"));
    }
    if (!StillMatches("alarm_ack", position)) position = ForwardPosition{};
    sqlite3_stmt* read = RowsAfter(acks_.get(), position.rowId, limit);
    int step;
    while ((step = sqlite3_step(read)) == SQLITE_ROW) {
        position = {sqlite3_column_int64(read, 0), sqlite3_column_int64(read, 1),
                    sqlite3_column_int(read, 2)};
        std::string& out = *copyText;
        AppendCopyField(out, station);
        out += '\t' +
               FormatServerTime(sqlite3_column_int64(read, 3), sqlite3_column_int(read, 4)) +
               '\t';
        out += std::to_string(sqlite3_column_int(read, 5)) + '\t';
        // As the events were sent: an empty axis rather than NULL.
        const auto* axis = reinterpret_cast<const char*>(sqlite3_column_text(read, 6));
        AppendCopyField(out, axis ? axis : "");
        out += '\t';
        AppendNullableText(out, read, 7);
        out += '\t';
        AppendNullableText(out, read, 8);
        out += '\t' + FormatServerTime(position.time, position.milliseconds) + '\n';
        ++*count;
    }
    sqlite3_reset(read);
    if (step != SQLITE_DONE)
        return Fail(QT_TRANSLATE_NOOP("LocalRecordSource", "读取确认记录失败"));
    return true;
}

}  // namespace orsan::store
