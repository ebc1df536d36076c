#include "SqliteFile.h"

#include <sqlite3.h>

#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include "SqliteStatement.h"

namespace orsan {

namespace {

QString WithOption(const QString& options, const QString& option) {
    return options.isEmpty() ? option : options + QLatin1Char(';') + option;
}

// What SQLite says when a WAL database cannot get its -shm file.
bool IsMissingSharedMemory(const QSqlError& error) {
    // Extended codes (SQLITE_READONLY_DIRECTORY) carry the primary one in the low byte.
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == SQLITE_READONLY || code == SQLITE_CANTOPEN;
}

}  // namespace

bool OpenSqliteFile(QSqlDatabase& db, const QString& path, SqliteAccess access,
                    const QString& options) {
    db.setDatabaseName(path);
    if (access == SqliteAccess::ReadWrite) {
        db.setConnectOptions(options);
        return db.open();
    }
    db.setConnectOptions(WithOption(options, QStringLiteral("QSQLITE_OPEN_READONLY")));
    if (!db.open()) return false;
    {
        QSqlQuery probe(db);
        // Other failures (not a database, say) are left to the caller's first query.
        if (probe.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) ||
            !IsMissingSharedMemory(probe.lastError()))
            return true;
    }
    db.close();
    db.setDatabaseName(QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded) +
                       QStringLiteral("?mode=ro&immutable=1"));
    db.setConnectOptions(
        WithOption(options, QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI")));
    return db.open();
}

bool IsReadOnlyConnection(const QSqlDatabase& db) {
    sqlite3* handle = SqliteHandle(db);
    return handle != nullptr && sqlite3_db_readonly(handle, "main") == 1;
}

}  // namespace orsan
