#include "RecordDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <atomic>

#include "DatabaseDiagnostic.h"
#include "RecordSensorHistory.h"
#include "RecordSummaries.h"
#include "RecordTally.h"
#include "SqliteFile.h"
#include "SqliteStatement.h"

namespace orsan {

namespace {

constexpr int kValueColumns = kRecordSlots * kRecordValuesPerSlot;

QString NextConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("orsan_record_%1").arg(++counter);
}

QString CreateTableSql() {
    QStringList columns;
    columns << QStringLiteral("Time INTEGER") << QStringLiteral("msTime INTEGER");
    for (int c = 2; c < kRecordColumnCount; ++c) columns << RecordColumnName(c) + " REAL";
    for (int slot = 1; slot <= kRecordSlots; ++slot)
        columns << FreshnessColumnName(slot) + " INTEGER";
    return QStringLiteral("CREATE TABLE data (") + columns.join(QStringLiteral(", ")) + ")";
}

QString InsertSql() {
    QStringList names{RecordColumnList()};
    for (int slot = 1; slot <= kRecordSlots; ++slot) names << FreshnessColumnName(slot);
    QStringList marks;
    for (int c = 0; c < kRecordTableColumnCount; ++c) marks << QStringLiteral("?");
    return QStringLiteral("INSERT INTO data (") + names.join(QLatin1Char(',')) + ") VALUES (" +
           marks.join(QLatin1Char(',')) + ")";
}

// Column c of the table as this station makes it.
QString TableColumnName(int c) {
    return c < kRecordColumnCount ? RecordColumnName(c)
                                  : FreshnessColumnName(c - kRecordColumnCount + 1);
}

}  // namespace

StoredRecord ReadStoredRecord(const QSqlQuery& query) {
    StoredRecord record;
    record.time = query.value(0).toLongLong();
    record.milliseconds = query.value(1).toInt();
    for (int v = 0; v < kValueColumns; ++v) record.values[v] = query.value(2 + v).toFloat();
    for (int s = 0; s < kRecordSlots; ++s)
        record.fresh[size_t(s)] = query.value(kRecordColumnCount + s).toInt() != 0;
    return record;
}

RecordDatabase::RecordDatabase() : connectionName_(NextConnectionName()) {}

RecordDatabase::~RecordDatabase() {
    Close();
}

QString RecordDatabase::PathIn(const QString& folder) {
    return QDir(folder).filePath(kFileName);
}

bool RecordDatabase::Open(const QString& folder, Mode mode) {
    Close();
    path_ = PathIn(folder);
    if (!OpenConnection(mode)) {
        CloseConnection();
        return false;
    }
    open_ = true;
    everOpened_ = true;
    return true;
}

void RecordDatabase::Close() {
    if (unsummarised_ > 0 || summariesBehind_) CatchUpSummaries();
    CloseConnection();
    open_ = false;
    everOpened_ = false;
    reopenBeforeWrite_ = false;
}

bool RecordDatabase::OpenConnection(Mode mode) {
    rowCount_.reset();
    if (mode == Mode::ExistingOnly && !QFileInfo(path_).isFile())
        return FailWith(QString(),
                        QCoreApplication::translate("orsan::RecordDatabase", "数据库文件不存在"),
                        path_);

    const bool readOnly = mode == Mode::ExistingOnly;
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    if (!OpenSqliteFile(db_, path_, readOnly ? SqliteAccess::ReadOnly : SqliteAccess::ReadWrite))
        return Fail(QString(), db_.lastError());

    // The first statement reads the file header: a file that is not a
    // database, or a folder where it cannot be created, fails here. Nothing
    // is changed in a file until it proved to be ours.
    if (!readOnly && !CheckIntact()) return false;
    if (!CheckOrCreateTable(!readOnly)) return false;
    tallied_ = HasRecordTallies(db_);
    summarised_ = HasRecordSummaries(db_);
    LoadStaleIndexes();
    if (readOnly) return true;

    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
        return Fail(QString(), query.lastError());
    if (query.next() && query.value(0).toString().compare("wal", Qt::CaseInsensitive) != 0)
        ReportDiagnostic(QCoreApplication::translate("orsan::RecordDatabase",
                                                     "DataRecord.db: 无法切换到 WAL 日志 (") +
                         query.value(0).toString() +
                         QCoreApplication::translate("orsan::RecordDatabase", ")，文件可能只读"));
    query.finish();
    if (!query.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return Fail(QString(), query.lastError());
    EnsureTimeIndex();
    EnsureTallies();
    // Only now: a file that failed to open before here is left as it was.
    if (freshnessColumns_ < kRecordSlots && mode == Mode::CreateIfMissing) AddFreshnessColumns();

    // Without its freshness columns a row could not say a reading is stale:
    // the file is then for reading only (Insert says why).
    if (freshnessColumns_ < kRecordSlots) return true;
    EnsureStaleIndexes();
    EnsureSummaries();
    insert_ = std::make_unique<QSqlQuery>(db_);
    if (!insert_->prepare(InsertSql())) return Fail(QString(), insert_->lastError());
    return true;
}

QString RecordDatabase::FreshnessSql(int slot) const {
    if (slot > freshnessColumns_) return QStringLiteral("1");
    return QStringLiteral("(%1 IS NOT 0)").arg(FreshnessColumnName(slot));
}

QString RecordDatabase::StoredRecordSelectList() const {
    QStringList list{RecordColumnList()};
    for (int slot = 1; slot <= kRecordSlots; ++slot) list << FreshnessSql(slot);
    return list.join(QLatin1Char(','));
}

bool RecordDatabase::CheckIntact() {
    // A damaged file may fail only halfway through the first write, after
    // SQLite changed bytes its rollback does not give back; a refused file
    // must stay as it was. Checking reads the whole file, so only files up
    // to kIntactCheckBytes are checked: a bigger one would hold up the start.
    const qint64 size = QFileInfo(path_).size();
    if (size == 0 || size > kIntactCheckBytes) return true;
    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral("PRAGMA quick_check")))
        return Fail(QString(), query.lastError());
    QStringList problems;
    while (query.next()) problems << query.value(0).toString();
    if (problems == QStringList{QStringLiteral("ok")}) return true;
    return FailWith(QString(),
                    QCoreApplication::translate("orsan::RecordDatabase", "数据库文件已损坏"),
                    problems.join(QStringLiteral("; ")));
}

bool RecordDatabase::CheckOrCreateTable(bool mayCreate) {
    freshnessColumns_ = 0;
    QSqlQuery query(db_);
    if (!query.exec(QStringLiteral(
            "SELECT name FROM sqlite_master WHERE type='table' AND name NOT LIKE 'sqlite\\_%' "
            "ESCAPE '\\'")))
        return Fail(QString(), query.lastError());
    bool hasData = false;
    QStringList others;
    while (query.next()) {
        const QString name = query.value(0).toString();
        if (name.compare(QLatin1String("data"), Qt::CaseInsensitive) == 0)
            hasData = true;
        else
            others << name;
    }
    if (query.lastError().isValid()) return Fail(QString(), query.lastError());

    if (!hasData) {
        // Never add our table to another program's database.
        if (!others.isEmpty() || !mayCreate)
            return FailWith(
                QString(),
                QCoreApplication::translate("orsan::RecordDatabase", "数据库中没有记录表 data"),
                QCoreApplication::translate("orsan::RecordDatabase", "其他表: ") +
                    others.join(QStringLiteral(", ")));
        // Only a file without tables can still take it: freed pages can then
        // go back to the disk as old rows are deleted.
        query.exec(QStringLiteral("PRAGMA auto_vacuum=INCREMENTAL"));
        if (!query.exec(CreateTableSql())) return Fail(QString(), query.lastError());
        freshnessColumns_ = kRecordSlots;
        return true;
    }

    if (!query.exec(QStringLiteral("PRAGMA table_info(data)")))
        return Fail(QString(), query.lastError());
    QStringList found;
    while (query.next()) found << query.value(1).toString();
    query.finish();
    // The 62 value columns, then the freshness columns in order: an older
    // station's table has none of them.
    bool matches = found.size() >= kRecordColumnCount && found.size() <= kRecordTableColumnCount;
    for (int c = 0; matches && c < found.size(); ++c)
        matches = found[c].compare(TableColumnName(c), Qt::CaseInsensitive) == 0;
    if (!matches)
        return FailWith(
            QString(), QCoreApplication::translate("orsan::RecordDatabase", "记录表 data 的列不符"),
            QCoreApplication::translate("orsan::RecordDatabase", "现有列: ") +
                found.join(QStringLiteral(",")));
    freshnessColumns_ = int(found.size()) - kRecordColumnCount;
    return true;
}

void RecordDatabase::AddFreshnessColumns() {
    // All or none, so the table never holds some of them.
    QSqlQuery query(db_);
    bool ok = db_.transaction();
    for (int slot = freshnessColumns_ + 1; ok && slot <= kRecordSlots; ++slot)
        ok = query.exec(QStringLiteral("ALTER TABLE data ADD COLUMN %1 INTEGER")
                            .arg(FreshnessColumnName(slot)));
    if (ok) ok = db_.commit();
    if (ok) {
        freshnessColumns_ = kRecordSlots;
        return;
    }
    const QSqlError error = query.lastError().isValid() ? query.lastError() : db_.lastError();
    query.finish();
    db_.rollback();
    // A read-only file still opens for reading; its rows count as fresh.
    lastDiagnostic_ = ComposeDiagnostic(QString(), FailureFromSqlError(error));
    ReportDiagnostic(lastDiagnostic_);
}

void RecordDatabase::EnsureTimeIndex() {
    QSqlQuery query(db_);
    QStringList indexes;
    if (query.exec(QStringLiteral("PRAGMA index_list(data)")))
        while (query.next()) indexes << query.value(1).toString();
    for (const QString& index : indexes) {
        if (index.startsWith(QLatin1String("data_stale"))) continue;  // partial: not every row
        QSqlQuery info(db_);
        if (info.exec(QStringLiteral("PRAGMA index_info(\"%1\")").arg(index)) && info.next() &&
            info.value(2).toString().compare(QLatin1String("Time"), Qt::CaseInsensitive) == 0)
            return;
    }
    // Without the index every page load scans the table; a read-only file
    // still opens, only slower.
    if (!query.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS data_time ON data(Time)")))
        ReportDiagnostic(ComposeDiagnostic(QString(), FailureFromSqlError(query.lastError())));
}

void RecordDatabase::LoadStaleIndexes() {
    staleIndexes_.reset();
    QSqlQuery query(db_);
    if (!query.exec(
            QStringLiteral("SELECT sql FROM sqlite_master WHERE type='index' AND tbl_name='data'")))
        return;
    // Only ours, as SQLite keeps the statement that made them: another
    // program's index of that name could hold other rows.
    while (query.next())
        for (int slot = 1; slot <= kRecordSlots; ++slot)
            if (query.value(0).toString() == QStringLiteral("CREATE INDEX ") + StaleIndexSql(slot))
                staleIndexes_.set(size_t(slot - 1));
}

void RecordDatabase::EnsureStaleIndexes() {
    if (staleIndexes_.all() || !tallied_) return;
    // A new file's are made empty. An older file's take a pass over its rows
    // per index, once (about 4 s for a million rows, all at open): a bigger
    // one keeps reading freshness from each row rather than stall the start.
    {
        SqliteStatement rows(db_, QStringLiteral("SELECT n FROM data_rows"));
        if (!rows.Next() || rows.Integer(0) > kStaleIndexBuildRows) return;
    }
    QSqlQuery query(db_);
    bool ok = db_.transaction();
    for (int slot = 1; ok && slot <= kRecordSlots; ++slot)
        ok = query.exec(QStringLiteral("CREATE INDEX IF NOT EXISTS ") + StaleIndexSql(slot));
    if (ok) ok = db_.commit();
    if (!ok) {
        // Freshness is then read from each row, only slower.
        const QSqlError error = query.lastError().isValid() ? query.lastError() : db_.lastError();
        query.finish();
        db_.rollback();
        ReportDiagnostic(ComposeDiagnostic(QString(), FailureFromSqlError(error)));
    }
    LoadStaleIndexes();
}

void RecordDatabase::EnsureTallies() {
    QSqlError error;
    tallied_ = EnsureRecordTallies(db_, &error);
    // A read-only file still opens; its counts are then taken from the rows.
    if (!tallied_) ReportDiagnostic(ComposeDiagnostic(QString(), FailureFromSqlError(error)));
}

void RecordDatabase::EnsureSummaries() {
    QSqlError error;
    summarised_ = EnsureRecordSummaries(db_, &error);
    if (summarised_) {
        SummariesTakeEveryRow();
        return;
    }
    // Made but not caught up (another program holding the file, say): the
    // history still reads them, and the next batch tries again. Not made:
    // it reads the rows themselves, only slower, until a batch makes them.
    summarised_ = HasRecordSummaries(db_);
    SummariesFellBehind(error);
}

bool RecordDatabase::CatchUpSummaries() {
    if ((!summarised_ && !summariesBehind_) || !CanWrite()) return false;
    QSqlError error;
    // Each failure waits out the busy time: the next try comes with the next
    // batch, not the next row.
    unsummarised_ = 0;
    const bool done =
        summarised_ ? CatchUpRecordSummaries(db_, &error) : EnsureRecordSummaries(db_, &error);
    if (!done) {
        SummariesFellBehind(error);
        return false;
    }
    summarised_ = true;
    SummariesTakeEveryRow();
    return true;
}

void RecordDatabase::SummariesFellBehind(const QSqlError& error) {
    summariesBehind_ = true;
    const DatabaseFailure failure = FailureFromSqlError(error);
    lastDiagnostic_ = ComposeDiagnostic(QString(), failure);
    // Once until they catch up, not once a batch.
    if (behindSaid_) return;
    behindSaid_ = true;
    // A full disk (SQLITE_FULL) is no fault of the file: the user's words
    // say what to do, the engine's block would only alarm.
    constexpr quint32 kSqliteFull = 13;
    ReportDiagnostic(failure.code == kSqliteFull
                         ? SummariesDiskFullText()
                         : lastDiagnostic_ + QLatin1Char('\n') + SummariesBehindText());
}

void RecordDatabase::SummariesTakeEveryRow() {
    summariesBehind_ = false;
    behindSaid_ = false;
}

void RecordDatabase::CloseConnection() {
    insert_.reset();
    if (db_.isValid()) {
        db_.close();
        db_ = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName_);
    }
    rowCount_.reset();
    staleIndexes_.reset();
    tallied_ = false;
    summarised_ = false;
    summariesBehind_ = false;
    unsummarised_ = 0;
}

bool RecordDatabase::Fail(const QString& prefix, const QSqlError& error) {
    lastDiagnostic_ = ComposeDiagnostic(prefix, FailureFromSqlError(error));
    ReportDiagnostic(lastDiagnostic_);
    return false;
}

bool RecordDatabase::FailWith(const QString& prefix, const QString& message,
                              const QString& description) {
    DatabaseFailure failure;
    failure.message = message;
    failure.source = path_;
    failure.description = description;
    lastDiagnostic_ = ComposeDiagnostic(prefix, failure);
    ReportDiagnostic(lastDiagnostic_);
    return false;
}

bool RecordDatabase::Insert(const RecordRow& row) {
    if (reopenBeforeWrite_ && everOpened_) {
        CloseConnection();
        open_ = OpenConnection(Mode::CreateIfMissing);
        if (!open_) {
            CloseConnection();
            lastDiagnostic_ = kWriteDiagnosticPrefix + lastDiagnostic_;
            return false;
        }
        reopenBeforeWrite_ = false;
    }
    if (!open_)
        return FailWith(kWriteDiagnosticPrefix,
                        QCoreApplication::translate("orsan::RecordDatabase", "数据库未打开"),
                        QCoreApplication::translate("orsan::RecordDatabase", "连接未打开或已关闭"));
    if (!insert_) {
        // Tried again at the next write, once the file may be written.
        reopenBeforeWrite_ = true;
        readOnlyFailure_ = IsReadOnlyConnection(db_);
        return FailWith(kWriteDiagnosticPrefix,
                        QCoreApplication::translate("orsan::RecordDatabase",
                                                    "记录表 data 缺少列 Ok1…Ok6，且无法添加"),
                        QCoreApplication::translate("orsan::RecordDatabase", "数据库文件可能只读"));
    }

    insert_->bindValue(0, qint64(row.time));
    insert_->bindValue(1, int(row.milliseconds));
    int column = 2;
    for (const SensorSample& sample : row.sensors) {
        const auto values = SlotValues(sample);
        // Bound as text, like the quoted values of a text INSERT: the
        // column's REAL affinity converts them, so 25.26 is kept as 25.3.
        for (int v = 0; v < kRecordValuesPerSlot; ++v)
            insert_->bindValue(column++, FormatRecordValue(v, values[v]));
    }
    for (const bool fresh : row.fresh) insert_->bindValue(column++, fresh ? 1 : 0);
    if (!insert_->exec()) {
        const QSqlError error = insert_->lastError();
        insert_->finish();
        rowCount_.reset();
        reopenBeforeWrite_ = true;
        readOnlyFailure_ = IsReadOnlyConnection(db_);
        return Fail(kWriteDiagnosticPrefix, error);
    }
    insert_->finish();
    readOnlyFailure_ = false;
    if (rowCount_) ++*rowCount_;
    if ((summarised_ || summariesBehind_) && ++unsummarised_ >= kSummaryBatchRows)
        CatchUpSummaries();
    return true;
}

bool RecordDatabase::CanWrite() const {
    return open_ && insert_ && !IsReadOnlyConnection(db_);
}

std::optional<qint64> RecordDatabase::Count() {
    if (rowCount_ && !tallied_) return rowCount_;
    if (!open_) {
        FailWith(kReloadDiagnosticPrefix,
                 QCoreApplication::translate("orsan::RecordDatabase", "数据库未打开"),
                 QCoreApplication::translate("orsan::RecordDatabase", "连接未打开或已关闭"));
        return std::nullopt;
    }
    SqliteStatement query(db_, tallied_ ? QStringLiteral("SELECT n FROM data_rows")
                                        : QStringLiteral("SELECT COUNT(*) FROM data"));
    if (!query.Next()) {
        FailWith(kReloadDiagnosticPrefix,
                 query.Error().isEmpty()
                     ? QCoreApplication::translate("orsan::RecordDatabase", "行数缺失")
                     : query.Error(),
                 path_);
        return std::nullopt;
    }
    rowCount_ = query.Integer(0);
    return rowCount_;
}

bool RecordDatabase::LoadLastPage(int pageSize, RecordPage* page) {
    *page = RecordPage();
    const std::optional<qint64> count = Count();
    if (!count) return false;
    page->count = *count;
    if (*count <= 0) return true;

    QSqlQuery query(db_);
    query.setForwardOnly(true);
    if (!query.exec(
            QStringLiteral("SELECT (SELECT MIN(Time) FROM data), (SELECT MAX(Time) FROM data)")) ||
        !query.next())
        return Fail(kReloadDiagnosticPrefix, query.lastError());
    page->firstTime = query.value(0).toLongLong();
    page->lastTime = query.value(1).toLongLong();
    query.finish();

    page->startIndex = pageSize * ((*count - 1) / pageSize);
    const qint64 onPage = *count - page->startIndex;
    // Newest rows first through the index, then turned back to Time order.
    if (!query.prepare(QStringLiteral("SELECT ") + StoredRecordSelectList() +
                       QStringLiteral(" FROM data ORDER BY Time DESC, rowid DESC LIMIT ?")))
        return Fail(kReloadDiagnosticPrefix, query.lastError());
    query.addBindValue(onPage);
    if (!query.exec()) return Fail(kReloadDiagnosticPrefix, query.lastError());
    page->rows.reserve(size_t(onPage));
    while (query.next()) page->rows.push_back(ReadStoredRecord(query));
    if (query.lastError().isValid()) return Fail(kReloadDiagnosticPrefix, query.lastError());
    std::reverse(page->rows.begin(), page->rows.end());
    if (qint64(page->rows.size()) != onPage) {
        // The count kept in memory went stale (another writer): count again next time.
        rowCount_.reset();
        page->startIndex = *count - qint64(page->rows.size());
    }
    return true;
}

bool RecordDatabase::ClearAll() {
    if (!open_)
        return FailWith(kClearDiagnosticPrefix,
                        QCoreApplication::translate("orsan::RecordDatabase", "数据库未打开"),
                        QCoreApplication::translate("orsan::RecordDatabase", "连接未打开或已关闭"));
    if (!db_.transaction()) return Fail(kClearDiagnosticPrefix, db_.lastError());
    QSqlError error;
    const auto deleteRows = [this](QSqlError* failure) {
        if (tallied_) return ClearTalliedRows(db_, failure);
        QSqlQuery query(db_);
        if (query.exec(QStringLiteral("DELETE FROM data"))) return true;
        *failure = query.lastError();
        return false;
    };
    const bool cleared =
        summarised_ ? ClearSummarisedRows(db_, deleteRows, &error) : deleteRows(&error);
    if (!cleared) {
        db_.rollback();
        rowCount_.reset();
        return Fail(kClearDiagnosticPrefix, error);
    }
    if (const QSqlError historyError = RestartSensorHistory(db_); historyError.isValid()) {
        db_.rollback();
        rowCount_.reset();
        return Fail(kClearDiagnosticPrefix, historyError);
    }
    if (!db_.commit()) {
        const QSqlError error = db_.lastError();
        db_.rollback();
        rowCount_.reset();
        return Fail(kClearDiagnosticPrefix, error);
    }
    rowCount_ = 0;
    unsummarised_ = 0;
    return true;
}

bool RecordDatabase::NoteConfiguredSensors(std::bitset<kSensorCount> sensors) {
    if (!open_)
        return FailWith(kWriteDiagnosticPrefix,
                        QCoreApplication::translate("orsan::RecordDatabase", "数据库未打开"),
                        QCoreApplication::translate("orsan::RecordDatabase", "连接未打开或已关闭"));
    if (const QSqlError error = NoteSensorSelection(db_, sensors); error.isValid())
        return Fail(kWriteDiagnosticPrefix, error);
    return true;
}

QString SummariesBehindText() {
    return QCoreApplication::translate(
               "orsan::RecordDatabase",
               "DataRecord.db: 小时和日汇总未能更新，落后于记录；每写入%1行重试一次")
        .arg(RecordDatabase::kSummaryBatchRows);
}

QString SummariesDiskFullText() {
    return QCoreApplication::translate(
        "orsan::RecordDatabase",
        "DataRecord.db: 磁盘已满，小时和日汇总暂未更新；已记录的数据完好，腾出空间后自动补上");
}

QString ReadOnlyDatabaseText(const QString& path) {
    return QCoreApplication::translate("orsan::RecordDatabase",
                                       "数据库文件%1只能读取，无法写入，数据记录已停止!")
        .arg(path);
}

}  // namespace orsan
