#pragma once

#include <QSqlDatabase>
#include <QString>

namespace orsan {

enum class SqliteAccess {
    ReadWrite,  // created when missing; falls back to reading when the file is read-only
    ReadOnly,   // never changes the file, nor makes one beside it
};

// Opens path on db, a QSQLITE connection that is not open, with the given
// extra connect options ("QSQLITE_BUSY_TIMEOUT=5000"). A database in WAL
// mode needs its -shm file to be read: in a folder the user cannot write,
// with no writer running (so no -shm and no -wal, every row in the file
// itself), ReadOnly reads the file as it stands. False with db.lastError().
bool OpenSqliteFile(QSqlDatabase& db, const QString& path, SqliteAccess access,
                    const QString& options = QString());

// True when the open connection can only read its file (a read-only file in
// a writable folder: SQLite then opens it for reading without a word).
bool IsReadOnlyConnection(const QSqlDatabase& db);

}  // namespace orsan
