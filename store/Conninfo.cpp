#include "Conninfo.h"

#include <algorithm>
#include <regex>
#include <vector>

#include "CoreText.h"

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

const std::vector<std::string>& SecretKeywords() {
    static const std::vector<std::string> keywords = [] {
        std::vector<std::string> found;
        ConninfoOptions defaults(PQconndefaults());
        for (const PQconninfoOption* o = defaults.get(); o && o->keyword; ++o)
            if (o->dispchar && o->dispchar[0] == '*') found.push_back(o->keyword);
        // Should libpq be unable to tell, the two it has always had.
        for (const char* known : {"password", "sslpassword"})
            if (std::find(found.begin(), found.end(), known) == found.end()) found.push_back(known);
        return found;
    }();
    return keywords;
}

// A value as libpq reads it back: quoted when empty or holding a space,
// a quote or a backslash.
std::string QuotedValue(const std::string& value) {
    if (!value.empty() && value.find_first_of(" \t\n\r\f\v'\\") == std::string::npos) return value;
    std::string quoted = "'";
    for (char c : value) {
        if (c == '\'' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "'";
}

}  // namespace

bool IsSecretKeyword(const std::string& keyword) {
    const std::vector<std::string>& secrets = SecretKeywords();
    return std::find(secrets.begin(), secrets.end(), keyword) != secrets.end();
}

std::string ShownConninfo(const std::string& conninfo) {
    const ConninfoOptions options = Parse(conninfo);
    if (!options) return CoreText::translate("Conninfo", "(无法解析的连接字符串)");
    std::string shown;
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o) {
        if (!o->val || IsSecretKeyword(o->keyword)) continue;
        if (!shown.empty()) shown += ' ';
        shown += o->keyword;
        shown += '=';
        shown += QuotedValue(o->val);
    }
    return shown;
}

bool HasSecret(const std::string& conninfo) {
    const ConninfoOptions options = Parse(conninfo);
    if (!options) {
        for (const std::string& keyword : SecretKeywords())
            if (conninfo.find(keyword) != std::string::npos) return true;
        return false;
    }
    for (const PQconninfoOption* o = options.get(); o->keyword; ++o)
        if (IsSecretKeyword(o->keyword) && o->val && *o->val) return true;
    return false;
}

bool IsParsableConninfo(const std::string& conninfo) {
    return Parse(conninfo) != nullptr;
}

std::string RedactPasswords(const std::string& text, const std::string& conninfo) {
    static const std::regex option = [] {
        std::string names;
        for (const std::string& keyword : SecretKeywords())
            names += (names.empty() ? "" : "|") + keyword;
        return std::regex("((?:" + names + R"()\s*=\s*)('([^'\\]|\\.)*'|\S+))", std::regex::icase);
    }();
    static const std::regex uriSecret(R"((://[^:/@\s]*:)[^@\s]*@)");
    std::string redacted = std::regex_replace(text, option, "$1***");
    redacted = std::regex_replace(redacted, uriSecret, "$1***@");
    if (const ConninfoOptions options = Parse(conninfo)) {
        for (const PQconninfoOption* o = options.get(); o->keyword; ++o) {
            if (!IsSecretKeyword(o->keyword) || !o->val || !*o->val) continue;
            const std::string secret = o->val;
            for (size_t at = redacted.find(secret); at != std::string::npos;
                 at = redacted.find(secret, at + 3))
                redacted.replace(at, secret.size(), "***");
        }
    }
    return redacted;
}

PgConnPtr StartConnecting(const std::string& conninfo) {
    // Later entries override earlier ones, and the expanded string comes
    // last, so whatever it says wins over these defaults.
    // Station names and messages travel as UTF-8 whatever the database's encoding.
    const char* keywords[] = {
        "connect_timeout",  "keepalives",      "keepalives_idle", "tcp_user_timeout",
        "application_name", "client_encoding", "dbname",          nullptr};
    const char* values[] = {"5",    "1", "10", "30000", "orsan-monitor", "UTF8", conninfo.c_str(),
                            nullptr};
    return PgConnPtr(PQconnectStartParams(keywords, values, 1));
}

std::string ConnectionError(PGconn* connection, const std::string& conninfo) {
    if (!connection) return CoreText::translate("Conninfo", "内存不足");
    return RedactPasswords(OneLine(PQerrorMessage(connection)), conninfo);
}

}  // namespace orsan::store
