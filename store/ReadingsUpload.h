#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "PgSession.h"

namespace orsan::store {

// Stores COPY text rows of `readings` on the server, all or none. The
// common case, rows the server has never seen, is one plain COPY. When the
// server already holds some of them (the confirmation of an earlier send
// was lost), the batch goes through a temporary table and an INSERT that
// skips rows already there, so a row never doubles.
PgOutcome UploadReadings(PgSession& session, std::string_view copyText);

// The same for rows made while they are sent: `next` appends the next rows
// to its argument and returns false when there are none left (or it failed:
// then `*abortReason` is set and nothing of the batch is stored).
PgOutcome UploadReadingsStreamed(PgSession& session, const std::function<bool(std::string&)>& next,
                                 std::string* abortReason);

}  // namespace orsan::store
