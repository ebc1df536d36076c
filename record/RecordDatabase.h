#pragma once

#include <QSqlDatabase>
#include <QString>
#include <array>
#include <bitset>
#include <memory>
#include <optional>
#include <vector>

#include "RecordColumns.h"
#include "RecordRow.h"

class QSqlQuery;

namespace orsan {

// One row as the table holds it, values read back as 32-bit floats in
// table order (Temp1 ... Zdisp6), and per slot whether they are a fresh
// reading (Ok1 ... Ok6; NULL counts as fresh).
struct StoredRecord {
    qint64 time = 0;
    int milliseconds = 0;
    std::array<float, kRecordSlots * kRecordValuesPerSlot> values{};
    SensorFreshness fresh = RecordRow::AllFresh();
};

// A row of a query over RecordDatabase::StoredRecordSelectList(); further
// columns follow at kRecordTableColumnCount.
StoredRecord ReadStoredRecord(const QSqlQuery& query);

// What the record page shows: the row count, the first and last Time, and
// the rows of the last page with the position of its first row (0-based,
// in Time order).
struct RecordPage {
    qint64 count = 0;
    qint64 firstTime = 0;
    qint64 lastTime = 0;
    qint64 startIndex = 0;
    std::vector<StoredRecord> rows;
};

// The record database: DataRecord.db in the data folder with the table `data`
// (62 columns of values, then Ok1 ... Ok6) and an index on Time, in WAL
// mode with synchronous=FULL so a committed row survives a crash or a power
// cut. UI thread only (one Qt SQL connection per object).
class RecordDatabase {
public:
    static inline const QString kFileName = QStringLiteral("DataRecord.db");

    enum class Mode {
        CreateIfMissing,  // the station: a missing file becomes an empty table
        ExistingOnly,     // exports and viewers: read-only; a missing file is an error
    };

    RecordDatabase();
    ~RecordDatabase();
    RecordDatabase(const RecordDatabase&) = delete;
    RecordDatabase& operator=(const RecordDatabase&) = delete;

    static QString PathIn(const QString& folder);

    // Opens folder/DataRecord.db. Fails when the file cannot be opened or
    // created, is not a database, or belongs to another program (a table
    // `data` with other columns, or other tables and no `data`). A read-only
    // file opens: reads work, writes fail until it becomes writable. A table
    // `data` without the freshness columns (an older station's, or another
    // program's with our 62 columns) gets them with CreateIfMissing; with
    // ExistingOnly nothing is changed and its rows read as fresh.
    bool Open(const QString& folder, Mode mode = Mode::CreateIfMissing);
    void Close();
    bool IsOpen() const { return open_; }
    const QString& FilePath() const { return path_; }

    // False when rows cannot be written: not open, opened ExistingOnly, or a
    // file the user may only read.
    bool CanWrite() const;
    // The last failed Insert met a file the user may only read: no retry helps.
    bool LastWriteFailedReadOnly() const { return readOnlyFailure_; }

    // One row with its freshness through the prepared INSERT; values stored as "%1.1f"/"%1.2f"
    // text would store them. After a failed write the next one reopens the
    // connection first, so writes resume once the disk has room again or the
    // file is writable again.
    bool Insert(const RecordRow& row);

    // Row count (kept by the file's own counts), first and last Time, and
    // the last page of pageSize rows through the Time index: the cost does
    // not grow with the table. A count that is a whole multiple of
    // pageSize shows that full page.
    bool LoadLastPage(int pageSize, RecordPage* page);

    // The kept count; in a file without the counts (read-only, of an older
    // station) counted once and kept in memory.
    std::optional<qint64> Count();
    // The file keeps row counts per ten minutes and per day (RecordTally.h).
    bool HasTallies() const { return tallied_; }
    // The file keeps hourly and daily summaries (RecordSummaries.h), which
    // take the rows written kSummaryBatchRows at a time, and whatever is
    // left at CatchUpSummaries and Close.
    static constexpr int kSummaryBatchRows = 250;
    bool HasSummaries() const { return summarised_; }
    // Adds the rows written since the last batch to the summaries (before
    // they are read), making them first when they could not be made at
    // open; false when the file has none or they cannot be written.
    bool CatchUpSummaries();
    // Rows written through Insert since the summaries last tried to take them.
    int PendingSummaryRows() const { return unsummarised_; }
    // The last try to bring the summaries up to date failed (said once on
    // stderr, SummariesBehindText, until a try succeeds): each batch of
    // rows tries again, and so does Close.
    bool SummariesBehind() const { return summariesBehind_; }
    // Rows deleted on this connection outside ClearAll (the retention): the
    // count kept in memory follows.
    void NoteRowsDeleted(qint64 rows) {
        if (rowCount_) *rowCount_ -= rows;
    }

    // Deletes every row in one transaction; on failure the table is as it was.
    // The sensor selection in force then applies from the first row again.
    bool ClearAll();

    // Rows written from now on are recorded for `sensors` (bit n-1: sensor
    // n configured), kept in the table data_sensors for the store. Called at
    // the start and whenever the addresses change.
    bool NoteConfiguredSensors(std::bitset<kSensorCount> sensors);

    // The connection, for streaming reads. Invalid when not open.
    QSqlDatabase Connection() const { return db_; }

    // An expression that is 1 when slot's values (1..6) are a fresh reading
    // and 0 when not: "(Ok<n> IS NOT 0)", or 1 when the table has no such
    // column.
    QString FreshnessSql(int slot) const;
    // Whether the table has slot's Ok column.
    bool HasFreshnessColumn(int slot) const { return slot >= 1 && slot <= freshnessColumns_; }
    // Whether the file indexes slot's stale rows by Time (StaleIndexName):
    // readers then learn freshness from its few entries instead of each row.
    // An older file gets them at a writable open while it holds at most
    // kStaleIndexBuildRows rows.
    static constexpr qint64 kStaleIndexBuildRows = 1000000;
    // Files up to this size are checked whole before the first write.
    static constexpr qint64 kIntactCheckBytes = 64LL << 20;
    bool HasStaleIndex(int slot) const {
        return slot >= 1 && slot <= kRecordSlots && staleIndexes_.test(size_t(slot - 1));
    }
    // The 62 value columns and the six freshness expressions, for
    // ReadStoredRecord.
    QString StoredRecordSelectList() const;

    // The diagnostic text of the last failure (also written to stderr).
    const QString& LastDiagnostic() const { return lastDiagnostic_; }

private:
    bool OpenConnection(Mode mode);
    bool CheckIntact();
    bool CheckOrCreateTable(bool mayCreate);
    void AddFreshnessColumns();
    void EnsureTimeIndex();
    void EnsureStaleIndexes();
    void LoadStaleIndexes();
    void EnsureTallies();
    void EnsureSummaries();
    void SummariesFellBehind(const QSqlError& error);
    void SummariesTakeEveryRow();
    void CloseConnection();
    bool Fail(const QString& prefix, const QSqlError& error);
    bool FailWith(const QString& prefix, const QString& message, const QString& description);

    QString path_;
    QString connectionName_;
    QSqlDatabase db_;
    std::unique_ptr<QSqlQuery> insert_;
    bool open_ = false;
    bool everOpened_ = false;
    bool reopenBeforeWrite_ = false;
    bool readOnlyFailure_ = false;
    bool tallied_ = false;
    bool summarised_ = false;
    bool summariesBehind_ = false;
    bool behindSaid_ = false;   // SummariesBehindText since the summaries last caught up
    int unsummarised_ = 0;      // rows written since the summaries last tried to take them
    int freshnessColumns_ = 0;  // Ok1 ... Ok<n> are in the table
    std::bitset<kRecordSlots> staleIndexes_;
    std::optional<qint64> rowCount_;
    QString lastDiagnostic_;
};

// The summaries lag behind the rows and are tried again with each batch.
QString SummariesBehindText();
// The same for a full disk, in one line.
QString SummariesDiskFullText();

// Recording stopped because the file can only be read: the user's words.
QString ReadOnlyDatabaseText(const QString& path);

}  // namespace orsan
