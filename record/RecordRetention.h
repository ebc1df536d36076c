#pragma once

#include <QString>
#include <QTimer>
#include <QtGlobal>
#include <functional>
#include <memory>
#include <optional>

namespace orsan {

class INIFILE;
class RecordDatabase;

// Keeps the record to its last KEEP_DAYS days: rows older than that go in
// small batches, each one plain DELETE of its own (so whatever the table's
// triggers keep stays right), on the recorder's own connection and thread,
// between two rows. A file made with auto_vacuum=INCREMENTAL then gives its
// free pages back in small steps too. One step is short enough never to hold
// a row up by more than a few milliseconds.
class RecordRetention {
public:
    static constexpr int kBatchRows = 250;
    static constexpr int kVacuumPages = 64;
    // While old rows remain a step runs this often; otherwise the oldest
    // row is looked at again after kIdleMs.
    static constexpr int kBusyMs = 100;
    static constexpr int kIdleMs = 60 * 1000;

    // keepDays 0 keeps every row (and Start does nothing). Failures go to
    // report, once until a step succeeds again.
    RecordRetention(RecordDatabase& database, int keepDays,
                    std::function<void(const QString&)> report = {});
    RecordRetention(const RecordRetention&) = delete;
    RecordRetention& operator=(const RecordRetention&) = delete;

    // Steps on a timer of the calling thread, the first one at once.
    void Start();
    void Stop() { timer_.stop(); }

    struct Step {
        qint64 deleted = 0;     // rows deleted by this step
        qint64 pagesFreed = 0;  // pages given back to the disk
        bool more = false;      // rows older than the limit remain
    };
    // One bounded step at nowMs: deletes at most kBatchRows of the oldest rows
    // older than keepDays before nowMs, then gives back at most kVacuumPages
    // free pages. Empty with the reason in *error when SQLite refuses.
    std::optional<Step> RunStep(qint64 nowMs, QString* error);

    int KeepDays() const { return keepDays_; }

private:
    void Tick();
    std::optional<qint64> PragmaValue(const QString& name, QString* error) const;
    // The work of RunStep inside its transaction.
    bool DeleteAndVacuum(qint64 nowMs, Step* step, QString* error);

    RecordDatabase& database_;
    int keepDays_;
    std::function<void(const QString&)> report_;
    bool failing_ = false;
    QTimer timer_;
};

// The retention Config.ini's [DAQ] KEEP_DAYS asks for, started on the
// calling thread; null when every row is kept. A refused value is reported
// and deletes nothing.
std::unique_ptr<RecordRetention> StartRecordRetention(
    RecordDatabase& database, const INIFILE& config,
    const std::function<void(const QString&)>& report);

}  // namespace orsan
