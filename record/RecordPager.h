#pragma once

#include <QSqlError>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "RecordDatabase.h"
#include "RecordRange.h"
#include "SqliteStatement.h"

class QSqlQuery;
struct sqlite3;

namespace orsan {

// A row's place in the (Time, rowid) order the list and the exports use:
// rows of one second in the order they were written.
struct RecordKey {
    qint64 time = 0;
    qint64 rowid = 0;
    bool operator==(const RecordKey&) const = default;
};

// One page of a range: the range's row count, the position of the page's
// first row within the range (0-based) and its rows in order.
struct RangePage {
    qint64 count = 0;
    qint64 startIndex = 0;
    std::vector<StoredRecord> rows;
    std::vector<RecordKey> keys;  // one per row
};

// Pages through the rows of a time range, pageSize rows a page counted from
// the range's first row. Pages are found by seeking the Time index from the
// keys of the page shown (never by skipping rows), so the last page of a
// million rows opens as fast as the first. The range's count (once per
// SetRange) and the rows before a "go to" come from the counts the file keeps
// per day and per ten minutes (RecordTally.h), so neither reads the range.
class RecordPager {
public:
    RecordPager(RecordDatabase& database, int pageSize);
    ~RecordPager();
    RecordPager(const RecordPager&) = delete;
    RecordPager& operator=(const RecordPager&) = delete;

    // Counts the range and shows its first page.
    bool SetRange(const RecordRange& range);
    bool First();
    bool Next();      // stays on the last page
    bool Previous();  // stays on the first page
    bool Last();
    // The page holding the first row at or after ms (the last page when
    // none is).
    bool GoTo(qint64 ms);

    const RecordRange& Range() const { return range_; }
    const RangePage& Page() const { return page_; }
    qint64 PageNumber() const;  // 1-based; 0 when the range is empty
    qint64 PageCount() const;
    // The diagnostic of the last failure.
    const QString& LastDiagnostic() const { return lastDiagnostic_; }

    // Rows of range: from the kept counts, and the Time index at its ends.
    std::optional<qint64> CountRange(const RecordRange& range);

private:
    enum class Order { Ascending, Descending };
    // Rows of the range after (Ascending) or before (Descending) `key`, or
    // from the range's edge without one; `inclusive` takes key's row too.
    bool LoadRows(std::optional<RecordKey> key, bool inclusive, Order order, qint64 limit,
                  std::vector<StoredRecord>* rows, std::vector<RecordKey>* keys);
    // The key rowsBack rows before key (1 = the row just before); false when
    // there is none or on a failure.
    bool KeyBefore(const RecordKey& key, qint64 rowsBack, RecordKey* found);
    bool LoadPageAt(qint64 startIndex, std::optional<RecordKey> key, qint64 rowsBeforeKey);
    // Rows of range before key, in (Time, rowid) order.
    std::optional<qint64> RowsBefore(const RecordRange& range, const RecordKey& key);
    // The statement of sql in slot, prepared once per connection and reset
    // for every use (preparing the counts costs about as much as running them).
    SqliteStatement& Prepared(std::unique_ptr<SqliteStatement>& slot, const QString& sql);
    bool Fail(const QSqlError& error);
    bool FailText(const QString& message);

    RecordDatabase& database_;
    int pageSize_;
    RecordRange range_ = RecordRange::All();
    RangePage page_;
    QString lastDiagnostic_;
    sqlite3* preparedOn_ = nullptr;
    std::unique_ptr<SqliteStatement> rowsBefore_;
    std::unique_ptr<SqliteStatement> keyAt_;
    std::unique_ptr<SqliteStatement> keyBefore_;
};

}  // namespace orsan
