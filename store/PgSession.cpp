#include "PgSession.h"

#include <algorithm>
#include <vector>

#include "CoreText.h"
#include "SocketKit.h"

namespace orsan::store {

namespace {
// COPY data goes out in pieces of this size; libpq buffers each piece.
constexpr size_t kCopyChunk = 1 << 20;

std::string WholeSeconds(std::chrono::milliseconds duration) {
    return std::to_string((duration.count() + 999) / 1000);
}
}  // namespace

PgSession::PgSession(const std::string& conninfo, PgWaitPolicy policy)
    : conninfo_(conninfo), policy_(std::move(policy)), connection_(StartConnecting(conninfo)) {
    PGconn* c = connection_.get();
    if (!c || PQstatus(c) == CONNECTION_BAD) {
        error_ = ConnectionError(c, conninfo_);
        return;
    }
    // libpq leaves the time limit of a connection driven this way to us.
    const Clock::time_point deadline = Clock::now() + policy_.connectLimit;
    const std::string silence = CoreText::translate("PgSession", "服务器 %1 秒内未完成连接，已放弃")
                                    .With({WholeSeconds(policy_.connectLimit)});
    for (PostgresPollingStatusType state = PGRES_POLLING_WRITING; state != PGRES_POLLING_OK;
         state = PQconnectPoll(c)) {
        if (state == PGRES_POLLING_FAILED) {
            error_ = ConnectionError(c, conninfo_);
            return;
        }
        if (!Await(state == PGRES_POLLING_READING ? POLLIN : POLLOUT, deadline, silence)) return;
    }
    // Every later wait is ours, bounded, and cut short by the owner.
    PQsetnonblocking(c, 1);
    // Notices ("already exists, skipping") are no news to anyone here.
    PQsetNoticeProcessor(
        c, [](void*, const char*) {}, nullptr);
}

bool PgSession::Connected() const {
    return connection_ && !lost_ && PQstatus(connection_.get()) == CONNECTION_OK;
}

bool PgSession::Lose(const std::string& reason) {
    lost_ = true;
    error_ = reason;
    return false;
}

bool PgSession::Await(short events, Clock::time_point silentUntil, const std::string& silence) {
    for (;;) {
        const bool stopping = giveUpAt_ < silentUntil;
        const int fd = PQsocket(connection_.get());
        if (fd < 0) return Lose(ConnectionError(connection_.get(), conninfo_));
        switch (WaitUntil(SystemSocketCalls(), fd, events, policy_.wakeFd,
                          stopping ? giveUpAt_ : silentUntil)) {
            case WaitResult::Ready:
                return true;
            case WaitResult::Woken:
                if (policy_.onWake) giveUpAt_ = policy_.onWake();
                continue;
            case WaitResult::TimedOut:
                return Lose(
                    stopping
                        ? CoreText::translate("PgSession", "停止时服务器仍未应答，已断开").Str()
                        : silence);
            case WaitResult::Failed:
                return Lose(CoreText::translate("PgSession", "无法等待服务器应答"));
        }
    }
}

bool PgSession::AwaitAnswer(short events) {
    return Await(events, Clock::now() + policy_.answerLimit,
                 CoreText::translate("PgSession", "服务器 %1 秒无应答，已断开")
                     .With({WholeSeconds(policy_.answerLimit)}));
}

bool PgSession::Flush() {
    PGconn* c = connection_.get();
    for (;;) {
        const int pending = PQflush(c);
        if (pending == 0) return true;
        if (pending < 0) return Lose(ConnectionError(c, conninfo_));
        // The server may have to be read before it takes more.
        if (!AwaitAnswer(POLLIN | POLLOUT)) return false;
        if (!PQconsumeInput(c)) return Lose(ConnectionError(c, conninfo_));
    }
}

PgResultPtr PgSession::NextResult() {
    PGconn* c = connection_.get();
    if (lost_ || !Flush()) return nullptr;
    while (PQisBusy(c)) {
        if (!AwaitAnswer(POLLIN)) return nullptr;
        if (!PQconsumeInput(c)) break;  // the result tells why
    }
    return PgResultPtr(PQgetResult(c));
}

PgOutcome PgSession::Finish(ExecStatusType expected, PgResultPtr* last) {
    PgOutcome outcome = FromResult(nullptr, expected);
    bool any = false;
    for (PgResultPtr result = NextResult(); result; result = NextResult()) {
        const bool copyIn = PQresultStatus(result.get()) == PGRES_COPY_IN;
        // The first failure, else the last result.
        if (!any || outcome.ok) outcome = FromResult(result.get(), expected);
        any = true;
        if (last) *last = std::move(result);
        if (copyIn) break;  // the data comes next, not more results
    }
    if (lost_) outcome = FromResult(nullptr, expected);
    return outcome;
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
    if (outcome.message.empty())
        outcome.message = lost_ ? error_ : ConnectionError(connection_.get(), conninfo_);
    outcome.message = RedactPasswords(outcome.message, conninfo_);
    return outcome;
}

PgOutcome PgSession::Exec(const std::string& sql) {
    if (lost_ || !PQsendQuery(connection_.get(), sql.c_str()))
        return FromResult(nullptr, PGRES_COMMAND_OK);
    return Finish(PGRES_COMMAND_OK);
}

PgResultPtr PgSession::Query(const std::string& sql, std::initializer_list<std::string> parameters,
                             PgOutcome* outcome) {
    std::vector<const char*> values;
    for (const std::string& p : parameters) values.push_back(p.c_str());
    if (lost_ || !PQsendQueryParams(connection_.get(), sql.c_str(), int(values.size()), nullptr,
                                    values.data(), nullptr, nullptr, 0)) {
        *outcome = FromResult(nullptr, PGRES_TUPLES_OK);
        return nullptr;
    }
    PgResultPtr result;
    *outcome = Finish(PGRES_TUPLES_OK, &result);
    if (!outcome->ok) result.reset();
    return result;
}

PgOutcome PgSession::BeginCopy(const std::string& copySql) {
    if (lost_ || !PQsendQuery(connection_.get(), copySql.c_str()))
        return FromResult(nullptr, PGRES_COPY_IN);
    return Finish(PGRES_COPY_IN);
}

bool PgSession::PutCopyData(std::string_view data) {
    PGconn* c = connection_.get();
    for (size_t at = 0; at < data.size();) {
        const size_t n = std::min(kCopyChunk, data.size() - at);
        const int queued = lost_ ? -1 : PQputCopyData(c, data.data() + at, int(n));
        if (queued < 0) return false;
        // Sent before the next piece, so at most one piece waits in memory.
        if (!Flush()) return false;
        if (queued == 1) at += n;
    }
    return true;
}

PgOutcome PgSession::EndCopy(const char* abortReason) {
    PGconn* c = connection_.get();
    while (!lost_ && PQputCopyEnd(c, abortReason) == 0)
        if (!Flush()) break;
    // Every result of the command is read, so the connection is idle again.
    return Finish(PGRES_COMMAND_OK);
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
