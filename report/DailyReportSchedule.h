#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "ReportProcess.h"

namespace orsan {

class INIFILE;

// Writes the report of the day before into a folder once a day: at the
// start when that file is missing, and after every local midnight, through
// a ReportProcess, so recording never waits for it and a failure never
// touches it. Each attempt says through `report` where the file went or why
// it failed; a failure waits for the next day.
class DailyReportSchedule : public QObject {
    Q_OBJECT
public:
    // Checks this often; the first check after midnight writes the report.
    static constexpr int kCheckMs = 60 * 1000;
    // The report waits this long after midnight, so the first rows of the
    // new day (the end of the last stretch of the old one) are in.
    static constexpr int kSettleSeconds = 60;

    // program: the station's executable.
    DailyReportSchedule(const QString& program, const QString& dataDir, const QString& folder,
                        std::function<void(const QString&)> report);
    // A report still being written gets kFinishMs to finish; after that it
    // is given up (its file never appears).
    ~DailyReportSchedule() override;
    static constexpr int kFinishMs = 30 * 1000;

    // Checks now, then every kCheckMs on the calling thread.
    void Start();
    // One check at `now`: writes the report of the day before unless it was
    // tried already or its file is there.
    void Check(const QDateTime& now);
private:
    QString dataDir_;
    QString folder_;
    std::function<void(const QString&)> report_;
    QDate tried_;
    QTimer timer_;
    ReportProcess writer_;
};

// Config.ini [DAQ] REPORT_DIR (relative to the data folder when not
// absolute), started with this program; null when the key is missing or empty.
std::unique_ptr<DailyReportSchedule> StartDailyReports(
    const QString& dataDir, const INIFILE& config, std::function<void(const QString&)> report);

}  // namespace orsan
