#include "DatabaseDiagnostic.h"

#include <QCoreApplication>
#include <QSqlError>
#include <cstdio>

namespace orsan {

DatabaseFailure FailureFromSqlError(const QSqlError& error) {
    DatabaseFailure failure;
    bool ok = false;
    const qlonglong code = error.nativeErrorCode().toLongLong(&ok);
    failure.code = ok ? quint32(code) : 0u;
    failure.message = error.driverText();
    failure.source = QStringLiteral("SQLite");
    failure.description = error.databaseText();
    return failure;
}

QString ComposeDiagnostic(const QString& prefix, const DatabaseFailure& failure) {
    // A prefix travels as text through the failing operation; it is one of
    // the marked prefixes above (or empty), so its bytes are its source.
    const QByteArray source = prefix.toUtf8();
    return QCoreApplication::translate("orsan::RecordDatabase", source.constData()) +
           QCoreApplication::translate("orsan::RecordDatabase", "错误编号:0x") +
           QStringLiteral("%1").arg(failure.code, 8, 16, QLatin1Char('0')).toUpper() +
           QCoreApplication::translate("orsan::RecordDatabase", "\n错误信息:") + failure.message +
           QCoreApplication::translate("orsan::RecordDatabase", "\n错误源:") + failure.source +
           QCoreApplication::translate("orsan::RecordDatabase", "\n错误描述:") +
           failure.description;
}

void ReportDiagnostic(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

}  // namespace orsan
