#include "DailyReportSchedule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimeZone>

#include "DailyReport.h"
#include "IniFile.h"

namespace orsan {

DailyReportSchedule::DailyReportSchedule(const QString& program, const QString& dataDir,
                                         const QString& folder,
                                         std::function<void(const QString&)> report)
    : dataDir_(dataDir), folder_(folder), report_(std::move(report)), writer_(program) {
    timer_.setInterval(kCheckMs);
    connect(&timer_, &QTimer::timeout, this, [this] { Check(QDateTime::currentDateTime()); });
    connect(&writer_, &ReportProcess::finished, this, [this](bool written, const QString& reason) {
        const QString day = tried_.toString(Qt::ISODate);
        report_(written ? tr("%1 的日报已写入 %2")
                              .arg(day, QDir(folder_).absoluteFilePath(DailyReportFileName(tried_)))
                        : tr("%1 的日报未生成：%2").arg(day, reason));
    });
}

DailyReportSchedule::~DailyReportSchedule() {
    // Finishing in time reports it as usual.
    writer_.WaitForFinished(kFinishMs);
}

void DailyReportSchedule::Start() {
    Check(QDateTime::currentDateTime());
    timer_.start();
}

void DailyReportSchedule::Check(const QDateTime& now) {
    const QDate today = now.date();
    const QDate day = today.addDays(-1);
    if (day == tried_ || writer_.IsRunning()) return;
    if (now < today.startOfDay(QTimeZone::systemTimeZone()).addSecs(kSettleSeconds)) return;
    tried_ = day;
    const QString path = QDir(folder_).absoluteFilePath(DailyReportFileName(day));
    if (QFileInfo::exists(path)) return;
    if (!QDir().mkpath(folder_)) {
        report_(tr("日报文件夹 %1 无法创建，%2 的日报未生成").arg(folder_, day.toString(Qt::ISODate)));
        return;
    }
    writer_.Start(dataDir_, day, path);
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
