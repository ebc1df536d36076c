#include "RecordRetention.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "IniFile.h"
#include "RecordDatabase.h"
#include "RecordSummaries.h"
#include "SqliteStatement.h"
#include "StationConfig.h"

namespace orsan {

namespace {

constexpr qint64 kDayMs = 24LL * 3600 * 1000;
constexpr qint64 kIncrementalVacuum = 2;  // PRAGMA auto_vacuum's value

QString RetentionError(const QString& reason) {
    return QCoreApplication::translate("orsan::RecordDatabase", "删除过期记录失败：") + reason;
}

}  // namespace

std::optional<qint64> RecordRetention::PragmaValue(const QString& name, QString* error) const {
    SqliteStatement pragma(database_.Connection(), QStringLiteral("PRAGMA ") + name);
    if (pragma.Next()) return pragma.Integer(0);
    if (error)
        *error =
            pragma.Error().isEmpty()
                ? QCoreApplication::translate("orsan::RecordDatabase", "PRAGMA %1 无结果").arg(name)
                : pragma.Error();
    return std::nullopt;
}

RecordRetention::RecordRetention(RecordDatabase& database, int keepDays,
                                 std::function<void(const QString&)> report)
    : database_(database), keepDays_(keepDays), report_(std::move(report)) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
}

void RecordRetention::Start() {
    if (keepDays_ > 0) timer_.start(0);
}

void RecordRetention::Tick() {
    QString error;
    const std::optional<Step> step = RunStep(QDateTime::currentMSecsSinceEpoch(), &error);
    if (!step && !failing_ && report_) report_(error);
    failing_ = !step;
    timer_.start(step && step->more ? kBusyMs : kIdleMs);
}

std::optional<RecordRetention::Step> RecordRetention::RunStep(qint64 nowMs, QString* error) {
    Step step;
    // A record that is not open says so where rows are written.
    if (keepDays_ <= 0 || !database_.IsOpen()) return step;
    // Rows go only once the summaries hold them.
    if ((database_.HasSummaries() || database_.SummariesBehind()) &&
        !database_.CatchUpSummaries()) {
        if (error) *error = RetentionError(database_.LastDiagnostic());
        return std::nullopt;
    }
    QSqlDatabase connection = database_.Connection();
    QString reason;
    // A deletion need not wait for the disk: one lost to a power cut is done
    // again, and the next row's full sync writes it anyway. Rows keep theirs.
    const struct FullSyncAfterwards {
        QSqlDatabase& connection;
        ~FullSyncAfterwards() {
            QSqlQuery(connection).exec(QStringLiteral("PRAGMA synchronous=FULL"));
        }
    } restore{connection};
    QSqlQuery(connection).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    // One transaction for the rows and the pages.
    if (!connection.transaction()) {
        if (error) *error = RetentionError(connection.lastError().text());
        return std::nullopt;
    }
    if (!DeleteAndVacuum(nowMs, &step, &reason) || !connection.commit()) {
        if (reason.isEmpty()) reason = connection.lastError().text();
        connection.rollback();
        if (error) *error = RetentionError(reason);
        return std::nullopt;
    }
    database_.NoteRowsDeleted(step.deleted);
    return step;
}

bool RecordRetention::DeleteAndVacuum(qint64 nowMs, Step* step, QString* error) {
    // Whole seconds through the Time index: a row of the limit's own second
    // stays until the next step.
    const qint64 limitSeconds = (nowMs - keepDays_ * kDayMs) / 1000;
    {
        SqliteStatement remove(database_.Connection(),
                               QStringLiteral("DELETE FROM data WHERE rowid IN (SELECT rowid FROM "
                                              "data WHERE Time < ?1 ORDER BY Time LIMIT ?2)"));
        remove.Bind({limitSeconds, kBatchRows});
        remove.Next();
        *error = remove.Error();
        if (!error->isEmpty()) return false;
        step->deleted = sqlite3_changes64(SqliteHandle(database_.Connection()));
    }
    if (QSqlError markError; step->deleted > 0 && database_.HasSummaries()) {
        QSqlDatabase connection = database_.Connection();
        if (!LowerRecordSummaryMark(connection, &markError)) {
            *error = markError.text();
            return false;
        }
    }
    step->more = step->deleted == kBatchRows;

    // Older files (auto_vacuum off) keep their free pages for new rows.
    const std::optional<qint64> vacuumMode = PragmaValue(QStringLiteral("auto_vacuum"), error);
    const std::optional<qint64> before =
        vacuumMode ? PragmaValue(QStringLiteral("freelist_count"), error) : std::nullopt;
    if (!before) return false;
    if (*vacuumMode != kIncrementalVacuum || *before == 0) return true;
    {
        SqliteStatement vacuum(database_.Connection(),
                               QStringLiteral("PRAGMA incremental_vacuum(%1)").arg(kVacuumPages));
        while (vacuum.Next()) {
        }
        *error = vacuum.Error();
        if (!error->isEmpty()) return false;
    }
    const std::optional<qint64> after = PragmaValue(QStringLiteral("freelist_count"), error);
    if (!after) return false;
    step->pagesFreed = *before - *after;
    // Free pages beyond one step's worth go back in the next steps.
    step->more = step->more || (*after > 0 && step->pagesFreed > 0);
    return true;
}

std::unique_ptr<RecordRetention> StartRecordRetention(
    RecordDatabase& database, const INIFILE& config,
    const std::function<void(const QString&)>& report) {
    QString error;
    const std::optional<int> days = LoadKeepDays(config, &error);
    if (!days) {
        if (report) report(error);
        return nullptr;
    }
    if (*days == 0) return nullptr;
    auto retention = std::make_unique<RecordRetention>(database, *days, report);
    retention->Start();
    return retention;
}

}  // namespace orsan
