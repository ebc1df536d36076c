#include "RowsUpload.h"

namespace orsan::store {

namespace {

PgOutcome UploadSkippingKnownRows(PgSession& session, const ServerTable& table,
                                  std::string_view copyText) {
    const std::string incoming = "store_incoming_" + table.name;
    const std::string columns = table.ColumnList();
    PgOutcome outcome = session.Exec("BEGIN");
    if (outcome.ok)
        outcome = session.Exec("CREATE TEMP TABLE IF NOT EXISTS " + incoming + " (LIKE " +
                               table.name + ") ON COMMIT DELETE ROWS");
    if (outcome.ok)
        outcome = session.CopyIn("COPY " + incoming + " (" + columns + ") FROM STDIN", copyText);
    if (outcome.ok)
        outcome = session.Exec("INSERT INTO " + table.name + " (" + columns + ") SELECT " +
                               columns + " FROM " + incoming + " ON CONFLICT DO NOTHING");
    if (outcome.ok) outcome = session.Exec("COMMIT");
    if (!outcome.ok) session.Exec("ROLLBACK");
    return outcome;
}

}  // namespace

PgOutcome UploadRows(PgSession& session, const ServerTable& table, std::string_view copyText) {
    bool given = false;
    std::string unused;
    return UploadRowsStreamed(
        session, table,
        [&](std::string& out) {
            if (given) return false;
            out.append(copyText);
            given = true;
            return true;
        },
        &unused);
}

PgOutcome UploadRowsStreamed(PgSession& session, const ServerTable& table,
                             const std::function<bool(std::string&)>& next,
                             std::string* abortReason, const KnownRowsPath& someKnown,
                             bool binary) {
    abortReason->clear();
    // Kept whole: should the server hold some rows already, the batch goes
    // again through the slower way.
    std::string sent;
    PgOutcome outcome = session.BeginCopy("COPY " + table.name + " (" + table.ColumnList() +
                                          ") FROM STDIN" + (binary ? " WITH (FORMAT binary)" : ""));
    if (!outcome.ok) return outcome;
    bool sending = true;
    size_t from = 0;
    while (sending && next(sent)) {
        sending = session.PutCopyData(std::string_view(sent).substr(from));
        from = sent.size();
    }
    const char* reason = !abortReason->empty() ? abortReason->c_str()
                         : !sending            ? "sending failed"
                                               : nullptr;
    outcome = session.EndCopy(reason);
    if (!abortReason->empty()) return PgOutcome{false, {}, *abortReason};
    if (outcome.ok || !outcome.IsUniqueViolation()) return outcome;
    return someKnown ? someKnown(session, sent) : UploadSkippingKnownRows(session, table, sent);
}

}  // namespace orsan::store
