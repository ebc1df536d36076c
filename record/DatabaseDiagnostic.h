#pragma once

#include <QString>

class QSqlError;

namespace orsan {

// Prefixes of the diagnostic texts, one per operation; ComposeDiagnostic
// translates them.
inline constexpr const char* kWriteDiagnosticPrefix =
    QT_TRANSLATE_NOOP("orsan::RecordDatabase", "Data  : 记录数据出错-> ");
inline constexpr const char* kReloadDiagnosticPrefix =
    QT_TRANSLATE_NOOP("orsan::RecordDatabase", "data: 获取数据出错-> ");
inline constexpr const char* kClearDiagnosticPrefix =
    QT_TRANSLATE_NOOP("orsan::RecordDatabase", "data  : 删除数据出错-> ");
inline constexpr const char* kCountDiagnosticPrefix =
    QT_TRANSLATE_NOOP("orsan::RecordDatabase", "data  : 查询数据出错-> ");
inline constexpr const char* kReadDiagnosticPrefix =
    QT_TRANSLATE_NOOP("orsan::RecordDatabase", "data: 获取数据出错-> ");

// One failure of the database engine: code, message, source, description.
struct DatabaseFailure {
    quint32 code = 0;
    QString message;
    QString source;
    QString description;
};

DatabaseFailure FailureFromSqlError(const QSqlError& error);

// prefix "错误编号:0x..." then "错误信息:", "错误源:" and "错误描述:" on lines
// of their own.
QString ComposeDiagnostic(const QString& prefix, const DatabaseFailure& failure);

// Diagnostics have no window: they go to standard error, one text per call.
void ReportDiagnostic(const QString& text);

}  // namespace orsan
