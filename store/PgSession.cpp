#include "PgSession.h"

#include <vector>

namespace orsan::store {

namespace {
// COPY data goes out in pieces of this size; libpq buffers each piece.
constexpr size_t kCopyChunk = 1 << 20;
}  // namespace

PgSession::PgSession(const std::string& conninfo)
    : conninfo_(conninfo), connection_(ConnectToServer(conninfo)) {
    if (!Connected()) {
        error_ = ConnectionError(connection_.get(), conninfo_);
        return;
    }
    // Notices ("already exists, skipping") are no news to anyone here.
    PQsetNoticeProcessor(
        connection_.get(), [](void*, const char*) {}, nullptr);
}

bool PgSession::Connected() const {
    return connection_ && PQstatus(connection_.get()) == CONNECTION_OK;
}

PgOutcome PgSession::FromResult(const PGresult* result, ExecStatusType expected) {
    if (result && PQresultStatus(result) == expected) return PgOutcome::Ok();
    PgOutcome outcome;
    outcome.ok = false;
    if (result) {
        if (const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE))
            outcome.sqlState = state;
        if (const char* primary = PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY))
            outcome.message = primary;
        if (const char* detail = PQresultErrorField(result, PG_DIAG_MESSAGE_DETAIL))
            outcome.message += std::string(" (") + detail + ")";
    }
    if (outcome.message.empty()) outcome.message = ConnectionError(connection_.get(), conninfo_);
    outcome.message = RedactPasswords(outcome.message, conninfo_);
    return outcome;
}

PgOutcome PgSession::Exec(const std::string& sql) {
    const PgResultPtr result(PQexec(connection_.get(), sql.c_str()));
    return FromResult(result.get(), PGRES_COMMAND_OK);
}

PgResultPtr PgSession::Query(const std::string& sql, std::initializer_list<std::string> parameters,
                             PgOutcome* outcome) {
    std::vector<const char*> values;
    for (const std::string& p : parameters) values.push_back(p.c_str());
    PgResultPtr result(PQexecParams(connection_.get(), sql.c_str(), int(values.size()), nullptr,
                                    values.data(), nullptr, nullptr, 0));
    *outcome = FromResult(result.get(), PGRES_TUPLES_OK);
    if (!outcome->ok) result.reset();
    return result;
}

PgOutcome PgSession::BeginCopy(const std::string& copySql) {
    const PgResultPtr start(PQexec(connection_.get(), copySql.c_str()));
    return FromResult(start.get(), PGRES_COPY_IN);
}

bool PgSession::PutCopyData(std::string_view data) {
    for (size_t at = 0; at < data.size(); at += kCopyChunk) {
        const size_t n = std::min(kCopyChunk, data.size() - at);
        if (PQputCopyData(connection_.get(), data.data() + at, int(n)) != 1) return false;
    }
    return true;
}

PgOutcome PgSession::EndCopy(const char* abortReason) {
    PGconn* c = connection_.get();
    PQputCopyEnd(c, abortReason);
    PgOutcome outcome;
    bool first = true;
    // Every result of the command is read, so the connection is idle again.
    while (PGresult* raw = PQgetResult(c)) {
        const PgResultPtr result(raw);
        if (first) outcome = FromResult(raw, PGRES_COMMAND_OK);
        first = false;
    }
    if (first) outcome = FromResult(nullptr, PGRES_COMMAND_OK);
    return outcome;
}

PgOutcome PgSession::CopyIn(const std::string& copySql, std::string_view data) {
    PgOutcome outcome = BeginCopy(copySql);
    if (!outcome.ok) return outcome;
    // Even after a failed send the copy must be ended before the next command.
    return EndCopy(PutCopyData(data) ? nullptr : "sending failed");
}

std::string PgSession::ServerIdentity() const {
    PGconn* c = connection_.get();
    auto text = [](const char* s) { return std::string(s ? s : ""); };
    return text(PQhost(c)) + ":" + text(PQport(c)) + "/" + text(PQdb(c));
}

}  // namespace orsan::store
