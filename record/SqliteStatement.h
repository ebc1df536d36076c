#pragma once

#include <QSqlDatabase>
#include <QString>
#include <initializer_list>

struct sqlite3;
struct sqlite3_stmt;

namespace orsan {

// SQLite's own connection behind a Qt connection; nullptr when it is not an
// open SQLite connection.
sqlite3* SqliteHandle(const QSqlDatabase& connection);

// One statement straight through SQLite's C interface on a Qt connection,
// for hot paths where a QVariant per value, or Qt's preparation, costs more
// than the query. Finalized by the destructor.
class SqliteStatement {
public:
    SqliteStatement(const QSqlDatabase& connection, const QString& sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    // Binds values to ?1, ?2, ... in order.
    void Bind(std::initializer_list<qint64> values);
    // The next row; false at the end or on a failure (Error() then says why),
    // and the statement is then finalized.
    bool Next();
    // Ready to run again with new values; ends the current run, so an
    // unfinished read holds no snapshot of the file. False once finalized.
    bool Reset();
    const QString& Error() const { return error_; }
    qint64 Integer(int column) const;
    sqlite3_stmt* Handle() const { return statement_; }

private:
    sqlite3* connection_ = nullptr;
    sqlite3_stmt* statement_ = nullptr;
    QString error_;
};

}  // namespace orsan
