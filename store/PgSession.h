#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

#include "Conninfo.h"

namespace orsan::store {

// What a statement sent to the server came to: ok, or the server's message
// with its SQLSTATE code.
struct PgOutcome {
    bool ok = true;
    std::string sqlState;
    std::string message;

    static PgOutcome Ok() { return {}; }
    bool IsUniqueViolation() const { return sqlState == "23505"; }
};

// How long a session waits for the server, and what may cut a wait short.
struct PgWaitPolicy {
    using Clock = std::chrono::steady_clock;
    // A connection not made within this time is given up.
    std::chrono::milliseconds connectLimit{5000};
    // A server silent this long while a statement is under way is given up:
    // one that took the connection and stopped answering holds nothing up.
    std::chrono::milliseconds answerLimit{30000};
    // Readable when the owner wants a say; it drains it in onWake.
    int wakeFd = -1;
    // Called when the wake fd fired: does the owner's own work meanwhile and
    // returns the latest time the session may still wait (max: no limit).
    std::function<Clock::time_point()> onWake;
};

// One open connection to the server, closed with the object. Blocking calls,
// each wait bounded by the policy: used on the forwarder's thread or a test
// thread, never on the UI thread. After a wait was given up the session is
// lost: every later call fails with the reason.
class PgSession {
public:
    // Connects; Connected() and Error() tell the outcome.
    explicit PgSession(const std::string& conninfo, PgWaitPolicy policy = {});

    bool Connected() const;
    const std::string& Error() const { return error_; }
    PGconn* Raw() const { return connection_.get(); }

    // One or more statements without result rows.
    PgOutcome Exec(const std::string& sql);
    // A statement with parameters as text; the result or null with *outcome set.
    PgResultPtr Query(const std::string& sql, std::initializer_list<std::string> parameters,
                      PgOutcome* outcome);
    // COPY ... FROM STDIN with `data` in text format.
    PgOutcome CopyIn(const std::string& copySql, std::string_view data);
    // The same in steps, so the server parses while the next rows are made:
    // BeginCopy, PutCopyData any number of times, EndCopy. A non-empty
    // `abortReason` makes the server drop everything sent.
    PgOutcome BeginCopy(const std::string& copySql);
    bool PutCopyData(std::string_view data);
    PgOutcome EndCopy(const char* abortReason = nullptr);

    // "host:port/dbname" of the server actually reached.
    std::string ServerIdentity() const;

private:
    using Clock = PgWaitPolicy::Clock;
    PgOutcome FromResult(const PGresult* result, ExecStatusType expected);
    // Waits until the socket is ready for `events` until `silentUntil` (or
    // the owner's limit); false (the session lost, error_ = `silence` or the
    // stop) when given up.
    bool Await(short events, Clock::time_point silentUntil, const std::string& silence);
    bool AwaitAnswer(short events);  // within the answer limit
    bool Lose(const std::string& reason);
    bool Flush();
    // The next result of the command under way (null after the last), or
    // null with the session lost.
    PgResultPtr NextResult();
    // Every result of the command under way; the first failure, else the last.
    PgOutcome Finish(ExecStatusType expected, PgResultPtr* last = nullptr);

    std::string conninfo_;
    PgWaitPolicy policy_;
    PgConnPtr connection_;
    std::string error_;
    bool lost_ = false;
    Clock::time_point giveUpAt_ = Clock::time_point::max();
};

}  // namespace orsan::store
