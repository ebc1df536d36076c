#pragma once

#include <libpq-fe.h>

#include <memory>
#include <string>

namespace orsan::store {

// True for the libpq keywords whose values are secrets ("password",
// "sslpassword", and any other that libpq marks as one).
bool IsSecretKeyword(const std::string& keyword);

// A libpq connection string as it may be shown: every option that libpq
// parsed from it except the secrets, as "key=value" pairs, values quoted
// where libpq needs it, so the result is itself a connection string. A
// string libpq cannot parse is shown as a short note, never echoed (it may
// hold a secret).
std::string ShownConninfo(const std::string& conninfo);

// True when the string carries a secret (the settings refuse to keep one in
// Config.ini). A string libpq cannot parse counts when it names a secret keyword.
bool HasSecret(const std::string& conninfo);

// True when libpq can parse the string.
bool IsParsableConninfo(const std::string& conninfo);

// Removes whatever looks like a secret from a text meant for a person:
// "password=..." and the other secret options, the secret of a
// "user:secret@" URI, and every secret given in `conninfo` wherever it appears.
std::string RedactPasswords(const std::string& text, const std::string& conninfo);

struct PgConnDeleter {
    void operator()(PGconn* connection) const { PQfinish(connection); }
};
using PgConnPtr = std::unique_ptr<PGconn, PgConnDeleter>;

struct PgResultDeleter {
    void operator()(PGresult* result) const { PQclear(result); }
};
using PgResultPtr = std::unique_ptr<PGresult, PgResultDeleter>;

// Starts connecting with the given string (PQconnectStartParams; the caller
// drives PQconnectPoll). Defaults that the string may override: TCP
// keep-alives with a 30 s user time-out, so a vanished server is noticed;
// the application name "orsan-monitor"; UTF-8 as the client encoding.
// Never null; check PQstatus.
PgConnPtr StartConnecting(const std::string& conninfo);

// The connection's error text, trimmed, without passwords.
std::string ConnectionError(PGconn* connection, const std::string& conninfo);

}  // namespace orsan::store
