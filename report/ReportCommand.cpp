#include "ReportCommand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

#include "DailyReport.h"
#include "DailyReportPdf.h"
#include "DataFolder.h"

namespace orsan {

QString DailyReportTarget(const QString& outPath, QDate day) {
    if (outPath.isEmpty())
        return ResolveDesktopFolder() + QLatin1Char('/') + DailyReportFileName(day);
    if (QFileInfo(outPath).isDir()) return outPath + QLatin1Char('/') + DailyReportFileName(day);
    return outPath;
}

bool WriteDailyReport(const QString& dataDir, QDate day, const QString& path, QString* error) {
    DailyReport report;
    return DailyReportReader::Read(dataDir, day, &report, error) &&
           WriteDailyReportPdf(report, path, error);
}

int RunReportCommand(const QString& dataDir, QDate day, const QString& outPath, QTextStream& out,
                     QTextStream& err) {
    if (!day.isValid()) day = QDate::currentDate().addDays(-1);
    const auto fail = [&err](const QString& reason, int code) {
        err << "report: " << reason << '\n';
        err.flush();
        return code;
    };
    if (day > QDate::currentDate())
        return fail(
            QCoreApplication::translate("ReportCommand", "%1 这一天还没有开始，无法生成日报")
                .arg(day.toString(Qt::ISODate)),
            kReportExitBadDay);
    const QString target = DailyReportTarget(outPath, day);
    QString error;
    if (!WriteDailyReport(dataDir, day, target, &error)) return fail(error, kReportExitFailed);
    out << QFileInfo(target).absoluteFilePath() << '\n';
    out.flush();
    return kReportExitOk;
}

}  // namespace orsan
