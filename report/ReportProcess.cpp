#include "ReportProcess.h"

namespace orsan {

ReportProcess::ReportProcess(const QString& program, QObject* parent) : QObject(parent) {
    process_.setProgram(program);
    connect(&process_, &QProcess::finished, this, &ReportProcess::Finish);
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) Finish();
    });
}

void ReportProcess::Start(const QString& dataDir, QDate day, const QString& path) {
    if (IsRunning()) return;
    process_.setArguments({QStringLiteral("--report"), day.toString(Qt::ISODate),
                           QStringLiteral("--out"), path, QStringLiteral("--data-dir"), dataDir});
    process_.start();
}

void ReportProcess::Finish() {
    if (process_.error() != QProcess::FailedToStart &&
        process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0) {
        emit finished(true, QString());
        return;
    }
    // The command's own line says why; Qt's notices beside it do not.
    QString reason = process_.errorString();
    const QString prefix = QStringLiteral("report: ");
    for (const QString& line : QString::fromLocal8Bit(process_.readAllStandardError()).split(u'\n'))
        if (line.startsWith(prefix)) reason = line.mid(prefix.size());
    emit finished(false, reason);
}

}  // namespace orsan
