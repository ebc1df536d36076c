#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "PgSession.h"
#include "ServerSchema.h"

namespace orsan::store {

// Stores COPY text rows of `table` on the server, all or none. The common
// case, rows the server has never seen, is one plain COPY. When the server
// already holds some of them (the confirmation of an earlier send was lost),
// the batch goes through a temporary table and an INSERT that skips rows
// already there, so a row never doubles.
PgOutcome UploadRows(PgSession& session, const ServerTable& table, std::string_view copyText);

// The same for rows made while they are sent: `next` appends the next rows
// to its argument and returns false when there are none left (or it failed:
// then `*abortReason` is set and nothing of the batch is stored). When the
// server holds some of them already, `someKnown` (if given) stores the whole
// data instead of the insert that skips them. `binary`: the data is in
// COPY's binary format.
using KnownRowsPath = std::function<PgOutcome(PgSession&, std::string_view)>;
PgOutcome UploadRowsStreamed(PgSession& session, const ServerTable& table,
                             const std::function<bool(std::string&)>& next,
                             std::string* abortReason, const KnownRowsPath& someKnown = {},
                             bool binary = false);

}  // namespace orsan::store
