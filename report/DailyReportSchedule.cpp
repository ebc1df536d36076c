#include "DailyReportSchedule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimeZone>
#include <utility>

#include "DailyReport.h"
#include "IniFile.h"

namespace orsan {

DailyReportSchedule::DailyReportSchedule(const QString& program, const QString& dataDir,
                                         const QString& folder,
                                         std::function<void(const QString&)> report)
    : program_(program), dataDir_(dataDir), folder_(folder), report_(std::move(report)) {
    timer_.setInterval(kCheckMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Check(QDateTime::currentDateTime()); });
}

DailyReportSchedule::~DailyReportSchedule() {
    // Finishing reports it as usual.
    if (writer_ && !writer_->waitForFinished(kFinishMs) && writer_) {
        writer_->disconnect(this);
        writer_->kill();
        writer_->waitForFinished();
    }
}

void DailyReportSchedule::Start() {
    Check(QDateTime::currentDateTime());
    timer_.start();
}

void DailyReportSchedule::Check(const QDateTime& now) {
    const QDate today = now.date();
    const QDate day = today.addDays(-1);
    if (day == tried_ || writer_) return;
    if (now < today.startOfDay(QTimeZone::systemTimeZone()).addSecs(kSettleSeconds)) return;
    tried_ = day;
    const QString path = QDir(folder_).absoluteFilePath(DailyReportFileName(day));
    if (QFileInfo::exists(path)) return;
    if (!QDir().mkpath(folder_)) {
        report_(tr("日报文件夹 %1 无法创建，%2 的日报未生成").arg(folder_, day.toString(Qt::ISODate)));
        emit finished();
        return;
    }
    writer_ = new QProcess(this);
    writer_->setProgram(program_);
    writer_->setArguments({QStringLiteral("--report"), day.toString(Qt::ISODate),
                           QStringLiteral("--out"), path, QStringLiteral("--data-dir"), dataDir_});
    connect(writer_, &QProcess::finished, this, [this, day, path] { Finish(day, path); });
    connect(writer_, &QProcess::errorOccurred, this, [this, day, path](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) Finish(day, path);
    });
    writer_->start();
}

void DailyReportSchedule::Finish(const QDate& day, const QString& path) {
    // Inside one of its own signals: it goes once back in the event loop.
    QProcess* writer = std::exchange(writer_, nullptr);
    writer->deleteLater();
    const QString dayText = day.toString(Qt::ISODate);
    if (writer->exitStatus() == QProcess::NormalExit && writer->exitCode() == 0 &&
        writer->error() != QProcess::FailedToStart) {
        report_(tr("%1 的日报已写入 %2").arg(dayText, path));
    } else {
        // The command's own line says why; Qt's notices beside it do not.
        QString reason = writer->errorString();
        const QString prefix = QStringLiteral("report: ");
        for (const QString& line : QString::fromLocal8Bit(writer->readAllStandardError()).split(u'\n'))
            if (line.startsWith(prefix)) reason = line.mid(prefix.size());
        report_(tr("%1 的日报未生成：%2").arg(dayText, reason));
    }
    emit finished();
}

std::unique_ptr<DailyReportSchedule> StartDailyReports(
    const QString& dataDir, const INIFILE& config, std::function<void(const QString&)> report) {
    const QString folder =
        config.GetString(QStringLiteral("DAQ"), QStringLiteral("REPORT_DIR"), QString()).trimmed();
    if (folder.isEmpty()) return nullptr;
    auto schedule = std::make_unique<DailyReportSchedule>(
        QCoreApplication::applicationFilePath(), dataDir, QDir(dataDir).absoluteFilePath(folder),
        std::move(report));
    schedule->Start();
    return schedule;
}

}  // namespace orsan
