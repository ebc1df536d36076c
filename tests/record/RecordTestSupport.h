#pragma once

#include <QByteArray>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>
#include <QVariant>
#include <functional>

#include "RecordRow.h"

namespace orsan {
class RecordDatabase;
}

namespace orsan::test {

// A row whose values differ per slot and per value, so a value read from the
// wrong column or slot shows.
RecordRow PatternRow(int32_t time, uint16_t milliseconds, int seed);

// Three rows whose slot 4 holds known values (Time order differs from write
// order; two rows share one second), and the sensor data file their slot 4
// makes, written out by hand, for a zone 8 hours east of UTC.
void WriteThreeRows(RecordDatabase& db);
QByteArray ExpectedThreeRowFile();

// Appends `count` rows in one transaction straight in SQLite: row i at
// firstTime + i * stepMs milliseconds, every value of every slot equal to
// (i % 100000) / 10 + slot, so a row's number can be read back from any value.
// False when SQLite refuses.
bool FillRows(RecordDatabase& db, qint64 count, qint64 firstTimeMs, qint64 stepMs);

// Runs `work` with a plain second connection to the file (not through
// RecordDatabase), so checks do not trust the code under test.
void WithRawConnection(const QString& path, const std::function<void(QSqlDatabase&)>& work);

// Runs `work` with this process's file size limit at `maxBytes` (SIGXFSZ
// ignored), playing a disk that fills up; the old limit is back afterwards.
void WithFileSizeLimit(unsigned long maxBytes, const std::function<void()>& work);

// Runs `sql` through a raw connection and gives the first value of its first
// row (invalid when it gives none); a failure of the test when the file cannot
// be opened or SQLite refuses the statement.
QVariant RawExec(const QString& path, const QString& sql);

// The whole content of a file; empty when it cannot be read.
QByteArray ReadAll(const QString& path);

// Rows in the file counted through a raw connection; -1 when unreadable.
qint64 RawRowCount(const QString& path);

// Makes a file or folder unwritable for this process, even as root (the
// immutable flag); undone by the destructor. Applied() is false when the
// file system refuses.
class ScopedReadOnly {
public:
    explicit ScopedReadOnly(const QString& path);
    ~ScopedReadOnly();
    ScopedReadOnly(const ScopedReadOnly&) = delete;
    ScopedReadOnly& operator=(const ScopedReadOnly&) = delete;

    bool Applied() const { return applied_; }
    void Undo();

private:
    QString path_;
    bool applied_ = false;
    bool immutable_ = false;
    unsigned permissions_ = 0;
};

}  // namespace orsan::test
