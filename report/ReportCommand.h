#pragma once

#include <QDate>
#include <QString>

class QTextStream;

namespace orsan {

// Exit codes of RunReportCommand.
inline constexpr int kReportExitOk = 0;
inline constexpr int kReportExitFailed = 1;  // record unreadable or file not written
inline constexpr int kReportExitBadDay = 2;  // a day that has not begun yet

// Where a report of `day` goes: outPath empty, the desktop folder (the home
// folder without one) with DailyReportFileName(day); an existing folder,
// that name inside it; otherwise the file itself.
QString DailyReportTarget(const QString& outPath, QDate day);

// Reads the day's report from dataDir and writes it to `path`; false with
// the reason.
bool WriteDailyReport(const QString& dataDir, QDate day, const QString& path, QString* error);

// `--report [DATE] [--out FILE]`: the daily report of a local day of
// dataDir's record as PDF; an invalid day (none given) is yesterday. Prints
// the file's absolute path on out, or one line "report: <reason>" on err
// and a non-zero code.
int RunReportCommand(const QString& dataDir, QDate day, const QString& outPath, QTextStream& out,
                     QTextStream& err);

}  // namespace orsan
