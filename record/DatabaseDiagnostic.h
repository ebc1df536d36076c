#pragma once

#include <QString>

class QSqlError;

namespace orsan {

// Prefixes of the diagnostic texts, one per operation.
inline const QString kWriteDiagnosticPrefix = QStringLiteral("Data  : 记录数据出错-> ");
inline const QString kReloadDiagnosticPrefix = QStringLiteral("data: 获取数据出错-> ");
inline const QString kClearDiagnosticPrefix = QStringLiteral("data  : 删除数据出错-> ");
inline const QString kCountDiagnosticPrefix = QStringLiteral("data  : 查询数据出错-> ");
inline const QString kReadDiagnosticPrefix = QStringLiteral("data: 获取数据出错-> ");

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
