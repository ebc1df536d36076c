#include "Conninfo.h"

#include <regex>

namespace orsan::store {

namespace {

struct ConninfoOptionsDeleter {
    void operator()(PQconninfoOption* options) const { PQconninfoFree(options); }
};
using ConninfoOptions = std::unique_ptr<PQconninfoOption, ConninfoOptionsDeleter>;

ConninfoOptions Parse(const std::string& conninfo) {
    char* error = nullptr;
    ConninfoOptions options(PQconninfoParse(conninfo.c_str(), &error));
    PQfreemem(error);
    return options;
}

// libpq's messages end in a newline and put hints on lines of their own;
// a message here is one line.
std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\n' || c == '\t' || c == '\r') c = ' ';
        if (c == ' ' && (line.empty() || line.back() == ' ')) continue;
        line += c;
    }
    while (!line.empty() && line.back() == ' ') line.pop_back();
    return line;
}

}  // namespace

std::string ShownConninfo(const std::string& conninfo) {
    const ConninfoOptions options = Parse(conninfo);
    if (!options) return "(无法解析的连接字符串)";
    std::string shown;
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o) {
        if (!o->val || std::string(o->keyword) == "password") continue;
        if (!shown.empty()) shown += ' ';
        shown += o->keyword;
        shown += '=';
        shown += o->val;
    }
    return shown;
}

bool HasPassword(const std::string& conninfo) {
    const ConninfoOptions options = Parse(conninfo);
    if (!options) return conninfo.find("password") != std::string::npos;
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o)
        if (std::string(o->keyword) == "password" && o->val && *o->val) return true;
    return false;
}

std::string RedactPasswords(const std::string& text, const std::string& conninfo) {
    static const std::regex option(R"((password\s*=\s*)('([^'\\]|\\.)*'|\S+))", std::regex::icase);
    static const std::regex uriSecret(R"((://[^:/@\s]*:)[^@\s]*@)");
    std::string redacted = std::regex_replace(text, option, "$1***");
    redacted = std::regex_replace(redacted, uriSecret, "$1***@");
    if (const ConninfoOptions options = Parse(conninfo)) {
        for (const PQconninfoOption* o = options.get(); o->keyword; ++o) {
            if (std::string(o->keyword) != "password" || !o->val || !*o->val) continue;
            const std::string secret = o->val;
            for (size_t at = redacted.find(secret); at != std::string::npos;
                 at = redacted.find(secret, at + 3))
                redacted.replace(at, secret.size(), "***");
        }
    }
    return redacted;
}

PgConnPtr ConnectToServer(const std::string& conninfo) {
    // Later entries override earlier ones, and the expanded string comes
    // last, so whatever it says wins over these defaults.
    // Station names and messages travel as UTF-8 whatever the database's encoding.
    const char* keywords[] = {
        "connect_timeout",  "keepalives",      "keepalives_idle", "tcp_user_timeout",
        "application_name", "client_encoding", "dbname",          nullptr};
    const char* values[] = {"5",    "1", "10", "30000", "orsan-monitor", "UTF8", conninfo.c_str(),
                            nullptr};
    return PgConnPtr(PQconnectdbParams(keywords, values, 1));
}

std::string ConnectionError(PGconn* connection, const std::string& conninfo) {
    if (!connection) return "内存不足";
    return RedactPasswords(OneLine(PQerrorMessage(connection)), conninfo);
}

}  // namespace orsan::store
