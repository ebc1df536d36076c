#pragma once

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

// One open connection to the server, closed with the object. Blocking calls:
// used on the forwarder's thread or a test thread, never on the UI thread.
class PgSession {
public:
    // Connects; Connected() and Error() tell the outcome.
    explicit PgSession(const std::string& conninfo);

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
    PgOutcome FromResult(const PGresult* result, ExecStatusType expected);

    std::string conninfo_;
    PgConnPtr connection_;
    std::string error_;
};

}  // namespace orsan::store
