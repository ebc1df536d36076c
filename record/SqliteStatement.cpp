#include "SqliteStatement.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QSqlDriver>
#include <QVariant>

namespace orsan {

sqlite3* SqliteHandle(const QSqlDatabase& connection) {
    if (!connection.isValid() || !connection.isOpen() || connection.driver() == nullptr)
        return nullptr;
    const QVariant handle = connection.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0) return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

SqliteStatement::SqliteStatement(const QSqlDatabase& connection, const QString& sql)
    : connection_(SqliteHandle(connection)) {
    if (connection_ == nullptr) {
        error_ = QCoreApplication::translate("orsan::RecordDatabase", "记录数据库未打开");
        return;
    }
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(connection_, text.constData(), int(text.size()), &statement_, nullptr) !=
        SQLITE_OK)
        error_ = QString::fromUtf8(sqlite3_errmsg(connection_));
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(statement_);
}

void SqliteStatement::Bind(std::initializer_list<qint64> values) {
    if (statement_ == nullptr) return;
    int position = 1;
    for (const qint64 value : values) sqlite3_bind_int64(statement_, position++, value);
}

bool SqliteStatement::Next() {
    if (statement_ == nullptr || !error_.isEmpty()) return false;
    const int step = sqlite3_step(statement_);
    if (step == SQLITE_ROW) return true;
    if (step != SQLITE_DONE) error_ = QString::fromUtf8(sqlite3_errmsg(connection_));
    sqlite3_finalize(statement_);
    statement_ = nullptr;
    return false;
}

bool SqliteStatement::Reset() {
    if (statement_ == nullptr) return false;
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    error_.clear();
    return true;
}

qint64 SqliteStatement::Integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

}  // namespace orsan
