#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "LocalRecord.h"
#include "SocketKit.h"
#include "StationRegistry.h"

namespace orsan::store {

enum class StoreState {
    NotConfigured,   // no server in Config.ini
    Connecting,      // first attempt under way
    Connected,       // rows reached the server (or there were none to send)
    Retrying,        // the last attempt failed; the next one follows the back-off
    LeftToRecorder,  // a server is configured; the folder's recorder, not this viewer, sends
};

struct StoreStatus {
    StoreState state = StoreState::NotConfigured;
    std::string lastError;      // why the last attempt failed (no password in it)
    int64_t backlog = -1;       // server rows not yet confirmed; -1 until first counted
    int64_t forwardedRows = 0;  // server rows confirmed since start
    // Readings the server held already with other values, kept in its table
    // readings_conflicts since start. Its first rise is news for onChange.
    int64_t conflicts = 0;
    std::string server;                       // "host:port/dbname" once connected
    int64_t attempts = 0;                     // connections tried since start
    std::chrono::milliseconds retryDelay{0};  // the wait after the last failure
    // What does not reach the server while the rest does (alarm events, the
    // station's name, the sensor names), each named; empty when all goes.
    std::string streamProblems;
};

struct StoreForwarderOptions {
    std::string conninfo;
    std::string station;
    std::string databasePath;  // DataRecord.db
    SensorMask sensors;        // the configured sensors (address not 0.0.0.0)
    SensorNames sensorNames;   // each sensor's machine name; empty for none
    std::chrono::milliseconds firstRetry{1000};
    std::chrono::milliseconds lastRetry{30000};
    // How long an idle forwarder waits before looking for new rows unless woken.
    std::chrono::milliseconds idleCheck{1000};
    // Local rows per COPY, one server transaction each: large enough that the
    // wait for each commit is a small part of the time.
    int batchRecords = 20000;
    // A server silent this long during a statement is given up (it took the
    // connection and stopped answering); so is a connection not made in connectLimit.
    std::chrono::milliseconds answerLimit{30000};
    std::chrono::milliseconds connectLimit{5000};
    // Told once per change: data moving again, or an error text not told
    // since data last moved. Called on the forwarder's thread.
    std::function<void(const StoreStatus&)> onChange;
    // Told every update, also backlog counts (on the forwarder's thread).
    std::function<void(const StoreStatus&)> onProgress;
};

// Sends every local row that the server has not confirmed, on its own
// thread, in batches: one COPY per batch, the position saved locally only
// after the server committed. Each row goes for the sensors configured when
// it was written. A batch sent again (the answer to the last one was lost)
// meets the server's key: rows the server holds as they are are skipped, so
// no row ever doubles, and rows it holds with other values are kept in
// readings_conflicts and counted, never dropped. After any failure it retries with a
// back-off from 1 s doubling to 30 s, which only data reaching the server
// again resets (a connection alone does not: a server that takes the
// connection and then refuses the rows is retried as slowly as one that is
// away), and which a Wake never cuts short. Every wait on the server is
// bounded (answerLimit), counts new rows as they come and ends at the stop's
// drain time, so a server that stops answering holds up nothing. Nothing
// here blocks its owner except Stop, which waits at most the drain time.
// Alarm events, the station's name and the sensor names go beside the
// readings, each retried on its own (StationUpkeep): a broken or missing
// table stops only what needs it, and broken readings stop no alarm event.
// A name that another data folder holds stops everything of this station.
class StoreForwarder {
public:
    explicit StoreForwarder(StoreForwarderOptions options);
    ~StoreForwarder();  // Stop(5 s)
    StoreForwarder(const StoreForwarder&) = delete;
    StoreForwarder& operator=(const StoreForwarder&) = delete;

    static constexpr std::chrono::milliseconds kDrainOnStop{5000};

    // Lets the thread send what is left for up to `drain`, then ends it.
    void Stop(std::chrono::milliseconds drain = kDrainOnStop);
    // The same without waiting: Finished() tells when the thread is done,
    // and the destructor still joins it.
    void RequestStop(std::chrono::milliseconds drain);
    bool Finished() const { return finished_; }
    // New rows were written: look now instead of at the next idle check.
    // A forwarder that is backing off keeps its wait.
    void Wake();
    void SetSensors(SensorMask sensors);
    // Written to the server's sensors table at the next round.
    void SetSensorNames(const SensorNames& names);
    StoreStatus Status() const;

private:
    void Run();
    // False once stopping; a Wake ends the wait too.
    bool WaitFor(std::chrono::steady_clock::duration duration);
    // While the server is busy or silent: the latest time to keep waiting.
    std::chrono::steady_clock::time_point GiveUpAt();
    bool Stopping() const;
    // `change` returns true when the change is news for onChange.
    void Publish(const std::function<bool(StoreStatus&)>& change);

    StoreForwarderOptions options_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    // The same wakes for a thread waiting on the server's socket.
    WakePipe wakePipe_;
    bool stopRequested_ = false;
    bool woken_ = false;
    std::chrono::steady_clock::time_point drainDeadline_;
    SensorMask sensors_;
    SensorNames sensorNames_;
    StoreStatus status_;
    std::atomic<bool> finished_{false};
    std::thread thread_;
};

}  // namespace orsan::store
