#pragma once

#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "SensorSample.h"

namespace orsan {

class SensorDataFileWriter;

// Formats and writes the export's lines on a thread of its own while the
// caller reads the next rows from the database. Samples travel in blocks
// through a bounded queue, so memory stays a few blocks whatever the number
// of rows. The writer is used only by this thread until Finish returns.
class ExportLineThread {
public:
    explicit ExportLineThread(SensorDataFileWriter& writer);
    // Abandons what is queued and joins.
    ~ExportLineThread();
    ExportLineThread(const ExportLineThread&) = delete;
    ExportLineThread& operator=(const ExportLineThread&) = delete;

    // Queues one sample; false once a write has failed (Finish says why).
    bool Add(const SensorSample& sample);
    // Writes everything queued and joins; false with the reason when a write failed.
    bool Finish(QString* error);

private:
    static constexpr size_t kBlockSize = 4096;
    static constexpr size_t kMaxQueuedBlocks = 4;

    void Run();
    bool Push();

    SensorDataFileWriter& writer_;
    std::vector<SensorSample> filling_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<std::vector<SensorSample>> queue_;
    bool closing_ = false;  // no more blocks will come
    bool abandon_ = false;
    bool failed_ = false;
    QString error_;
    std::thread thread_;
};

}  // namespace orsan
