#include "StoreForwarder.h"

#include <algorithm>
#include <memory>

#include "Conninfo.h"
#include "CoreText.h"
#include "LocalRecordSource.h"
#include "PgSession.h"
#include "ReadingsConflicts.h"
#include "ReadingsCopyBinary.h"
#include "RowsUpload.h"
#include "ServerSchema.h"
#include "StationUpkeep.h"

namespace orsan::store {

using Clock = std::chrono::steady_clock;

namespace {
// Local rows read and formatted at a time within one COPY.
constexpr int kReadChunk = 500;
}  // namespace

StoreForwarder::StoreForwarder(StoreForwarderOptions options)
    : options_(std::move(options)), sensors_(options_.sensors), sensorNames_(options_.sensorNames) {
    status_.state = StoreState::Connecting;
    thread_ = std::thread([this] {
        Run();
        finished_ = true;
    });
}

StoreForwarder::~StoreForwarder() {
    Stop();
}

void StoreForwarder::RequestStop(std::chrono::milliseconds drain) {
    {
        std::lock_guard lock(mutex_);
        if (!stopRequested_) {
            stopRequested_ = true;
            drainDeadline_ = Clock::now() + drain;
        }
    }
    wake_.notify_all();
    wakePipe_.Wake();
}

void StoreForwarder::Stop(std::chrono::milliseconds drain) {
    RequestStop(drain);
    if (thread_.joinable()) thread_.join();
}

void StoreForwarder::Wake() {
    {
        std::lock_guard lock(mutex_);
        woken_ = true;
    }
    wake_.notify_all();
    wakePipe_.Wake();
}

void StoreForwarder::SetSensors(SensorMask sensors) {
    std::lock_guard lock(mutex_);
    sensors_ = sensors;
}

void StoreForwarder::SetSensorNames(const SensorNames& names) {
    std::lock_guard lock(mutex_);
    sensorNames_ = names;
}

StoreStatus StoreForwarder::Status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

bool StoreForwarder::Stopping() const {
    std::lock_guard lock(mutex_);
    return stopRequested_;
}

bool StoreForwarder::WaitFor(Clock::duration duration) {
    std::unique_lock lock(mutex_);
    wake_.wait_for(lock, duration, [&] { return stopRequested_ || woken_; });
    woken_ = false;
    return !stopRequested_;
}

Clock::time_point StoreForwarder::GiveUpAt() {
    wakePipe_.Drain();
    std::lock_guard lock(mutex_);
    return stopRequested_ ? drainDeadline_ : Clock::time_point::max();
}

void StoreForwarder::Publish(const std::function<bool(StoreStatus&)>& change) {
    StoreStatus copy;
    bool tell;
    {
        std::lock_guard lock(mutex_);
        tell = change(status_);
        copy = status_;
    }
    if (tell && options_.onChange) options_.onChange(copy);
    if (options_.onProgress) options_.onProgress(copy);
}

void StoreForwarder::Run() {
    LocalRecordSource local(options_.databasePath);
    // The position belongs to this station on this server; known before the
    // first connection, so the backlog shows while the server is away.
    const std::string target = options_.station + "@" + ShownConninfo(options_.conninfo);
    std::unique_ptr<PgSession> session;
    ForwardPosition position;
    bool positionLoaded = false;
    StationUpkeep upkeep(options_.station, options_.databasePath, target, options_.firstRetry,
                         options_.lastRetry);
    // Checked once per connection, just before the first rows go.
    bool readingsReady = false;
    auto backoff = options_.firstRetry;
    // The error last told, so a failure repeated at every attempt is told once.
    std::string toldError;
    std::string toldProblems;
    std::vector<LocalRecord> records;
    std::vector<int64_t> rowIds;  // the local rowid of each server row of the batch

    auto sensors = [this] {
        std::lock_guard lock(mutex_);
        return sensors_;
    };
    auto sensorNames = [this] {
        std::lock_guard lock(mutex_);
        return sensorNames_;
    };
    auto countBacklog = [&] {
        const std::optional<int64_t> pending =
            local.IsOpen() ? local.CountAfter(position) : std::optional<int64_t>(0);
        if (!pending) return false;
        const int64_t rows = *pending * int64_t(sensors().count());
        Publish([&](StoreStatus& s) {
            s.backlog = rows;
            return false;
        });
        return true;
    };
    // Drops the connection, tells a new error once, waits the back-off,
    // which new rows do not cut short: they are only counted.
    auto failAndWait = [&](const std::string& error) {
        session.reset();
        const bool news = error != toldError;
        toldError = error;
        Publish([&](StoreStatus& s) {
            s.state = StoreState::Retrying;
            s.lastError = error;
            s.retryDelay = std::chrono::duration_cast<std::chrono::milliseconds>(backoff);
            return news;
        });
        const Clock::time_point until = Clock::now() + backoff;
        bool goOn;
        while ((goOn = WaitFor(until - Clock::now())) && Clock::now() < until) countBacklog();
        backoff = std::min(backoff * 2, options_.lastRetry);
        return goOn;
    };
    // Data reached the server, or there was none left: the next failure is
    // news again and starts the back-off afresh.
    auto dataMoved = [&] {
        backoff = options_.firstRetry;
        toldError.clear();
        Publish([&](StoreStatus& s) {
            const bool news = s.state != StoreState::Connected;
            s.state = StoreState::Connected;
            s.lastError.clear();
            return news;
        });
    };
    // A silent server holds up neither the count of what waits nor a stop.
    PgWaitPolicy waits;
    waits.connectLimit = options_.connectLimit;
    waits.answerLimit = options_.answerLimit;
    waits.wakeFd = wakePipe_.ReadFd();
    waits.onWake = [&] {
        countBacklog();
        return GiveUpAt();
    };

    for (;;) {
        if (!local.IsOpen()) {
            positionLoaded = false;
            // No file or no table `data` yet is no error: nothing to send.
            if (!local.Open() && !local.Error().empty()) {
                if (!failAndWait(local.Error())) break;
                continue;
            }
        }
        if (local.IsOpen() && !positionLoaded) {
            const auto loaded = local.LoadPosition(target);
            if (!loaded) {
                if (!failAndWait(local.Error())) break;
                continue;
            }
            position = *loaded;
            positionLoaded = true;
        }
        if (!countBacklog()) {
            if (!failAndWait(local.Error())) break;
            continue;
        }

        if (!session) {
            if (Stopping()) break;
            Publish([](StoreStatus& s) {
                ++s.attempts;
                return false;
            });
            session = std::make_unique<PgSession>(options_.conninfo, waits);
            if (!session->Connected()) {
                // A copy: failing drops the session and its error with it.
                if (!failAndWait(std::string(session->Error()))) break;
                continue;
            }
            readingsReady = false;
            const std::string server = session->ServerIdentity();
            upkeep.Reset();
            Publish([&](StoreStatus& s) {
                s.server = server;
                return false;
            });
        }

        // The name, the sensor names and alarm events first: few, and wanted
        // soon. Each fails on its own; only a name held elsewhere stops all.
        {
            const std::string refusal = upkeep.Run(local, *session, sensors(), sensorNames());
            if (std::string problems = upkeep.Problems(); problems != toldProblems) {
                toldProblems = std::move(problems);
                Publish([&](StoreStatus& s) {
                    s.streamProblems = toldProblems;
                    return true;
                });
            }
            if (!refusal.empty()) {
                if (!failAndWait(refusal)) break;
                continue;
            }
        }
        if (!readingsReady) {
            if (const std::string error = EnsureTable(*session, ReadingsTable()); !error.empty()) {
                if (!failAndWait(error)) break;
                continue;
            }
            readingsReady = true;
        }

        // The first rows before any COPY: an idle station sends nothing.
        records.clear();
        const int firstChunk = std::min(kReadChunk, options_.batchRecords);
        if (local.IsOpen() && !local.ReadAfter(position, firstChunk, &records)) {
            if (!failAndWait(local.Error())) break;
            continue;
        }
        if (records.empty()) {
            dataMoved();
            if (Stopping()) break;
            // Woken by a stop too: rows written since are looked for once more.
            WaitFor(options_.idleCheck);
            continue;
        }
        {
            std::lock_guard lock(mutex_);
            if (stopRequested_ && Clock::now() >= drainDeadline_) break;
        }
        const SensorMask batchSensors = sensors();
        ForwardPosition cursor = position;
        int recordsInBatch = 0;
        int64_t rowsInBatch = 0;
        rowIds.clear();
        bool readFirst = true;
        bool ended = false;
        std::string abortReason;
        // Rows are read and formatted in chunks while the server parses
        // the ones before; the binary format's trailer closes the last chunk.
        auto nextRows = [&](std::string& out) {
            if (ended) return false;
            if (readFirst) {
                out += kCopyBinaryHeader;
            } else {
                const int limit = std::min(kReadChunk, options_.batchRecords - recordsInBatch);
                if (!local.ReadAfter(cursor, limit, &records)) {
                    abortReason = local.Error();
                    return false;
                }
            }
            readFirst = false;
            if (!records.empty()) {
                rowsInBatch +=
                    AppendReadingsCopyBinary(records, batchSensors, options_.station, out, &rowIds);
                const LocalRecord& last = records.back();
                cursor = ForwardPosition{last.rowId, last.time, last.milliseconds};
                recordsInBatch += int(records.size());
            }
            ended = records.empty() || recordsInBatch >= options_.batchRecords;
            if (ended) out += kCopyBinaryTrailer;
            return true;
        };
        int64_t conflicts = 0;
        const PgOutcome sent = UploadRowsStreamed(
            *session, ReadingsTable(), nextRows, &abortReason,
            [&](PgSession& s, std::string_view copy) {
                return StoreReadingsKeepingConflicts(s, copy, rowIds, &conflicts);
            },
            /*binary=*/true);
        if (!sent.ok) {
            if (!failAndWait(abortReason.empty()
                                 ? CoreText::translate("StoreForwarder", "服务器拒绝写入: %1")
                                       .With({sent.message})
                                       .Str()
                                 : abortReason))
                break;
            continue;
        }
        position = cursor;
        Publish([&](StoreStatus& s) {
            s.forwardedRows += rowsInBatch - conflicts;
            const bool first = s.conflicts == 0 && conflicts > 0;
            s.conflicts += conflicts;
            return first;
        });
        dataMoved();
        // Should this fail, the batch is sent again later and skipped there.
        if (!local.SavePosition(target, position)) {
            if (!failAndWait(local.Error())) break;
        }
    }
}

}  // namespace orsan::store
