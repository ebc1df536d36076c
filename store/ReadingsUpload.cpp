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
    if (copyText.empty()) return PgOutcome::Ok();
    const PgOutcome outcome =
        session.CopyIn("COPY readings (" + ReadingsColumnList() + ") FROM STDIN", copyText);
    if (outcome.ok || !outcome.IsUniqueViolation()) return outcome;
    return UploadSkippingKnownRows(session, copyText);
}

}  // namespace orsan::store
