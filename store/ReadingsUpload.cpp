#include "ReadingsUpload.h"

#include "ServerSchema.h"

namespace orsan::store {

namespace {

PgOutcome UploadSkippingKnownRows(PgSession& session, std::string_view copyText) {
    std::string createIncoming =
        "CREATE TEMP TABLE IF NOT EXISTS store_incoming (station text, time timestamptz, "
        "sensor smallint";
    for (const char* column : kReadingValueColumns)
        createIncoming += std::string(", ") + column + " real";
    createIncoming += ") ON COMMIT DELETE ROWS";

    PgOutcome outcome = session.Exec("BEGIN");
    if (outcome.ok) outcome = session.Exec(createIncoming);
    if (outcome.ok)
        outcome = session.CopyIn("COPY store_incoming (" + ReadingsColumnList() + ") FROM STDIN",
                                 copyText);
    if (outcome.ok)
        outcome =
            session.Exec("INSERT INTO readings (" + ReadingsColumnList() + ") SELECT " +
                         ReadingsColumnList() + " FROM store_incoming ON CONFLICT DO NOTHING");
    if (outcome.ok) outcome = session.Exec("COMMIT");
    if (!outcome.ok) session.Exec("ROLLBACK");
    return outcome;
}

}  // namespace

PgOutcome UploadReadings(PgSession& session, std::string_view copyText) {
    bool given = false;
    std::string unused;
    return UploadReadingsStreamed(
        session,
        [&](std::string& out) {
            if (given) return false;
            out.append(copyText);
            given = true;
            return true;
        },
        &unused);
}

PgOutcome UploadReadingsStreamed(PgSession& session, const std::function<bool(std::string&)>& next,
                                 std::string* abortReason) {
    abortReason->clear();
    // Kept whole: should the server hold some rows already, the batch goes
    // again through the slower way.
    std::string sent;
    PgOutcome outcome =
        session.BeginCopy("COPY readings (" + ReadingsColumnList() + ") FROM STDIN");
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
    return UploadSkippingKnownRows(session, sent);
}

}  // namespace orsan::store
