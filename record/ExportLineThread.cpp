#include "ExportLineThread.h"

#include "SensorDataFile.h"

namespace orsan {

ExportLineThread::ExportLineThread(SensorDataFileWriter& writer) : writer_(writer) {
    filling_.reserve(kBlockSize);
    thread_ = std::thread([this] { Run(); });
}

ExportLineThread::~ExportLineThread() {
    if (!thread_.joinable()) return;
    {
        std::lock_guard lock(mutex_);
        abandon_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

bool ExportLineThread::Add(const SensorSample& sample) {
    filling_.push_back(sample);
    return filling_.size() < kBlockSize || Push();
}

bool ExportLineThread::Push() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return queue_.size() < kMaxQueuedBlocks || failed_; });
    if (failed_) return false;
    queue_.push_back(std::move(filling_));
    filling_ = {};
    filling_.reserve(kBlockSize);
    lock.unlock();
    changed_.notify_all();
    return true;
}

bool ExportLineThread::Finish(QString* error) {
    if (!filling_.empty()) Push();
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
    }
    changed_.notify_all();
    thread_.join();
    if (failed_ && error) *error = error_;
    return !failed_;
}

void ExportLineThread::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return abandon_ || closing_ || !queue_.empty(); });
        if (abandon_ || queue_.empty()) return;  // abandoned, or closing with all written
        std::vector<SensorSample> block = std::move(queue_.front());
        queue_.pop_front();
        lock.unlock();
        changed_.notify_all();
        QString error;
        bool ok = true;
        for (const SensorSample& sample : block)
            if (!(ok = writer_.Append(sample, &error))) break;
        lock.lock();
        if (!ok) {
            failed_ = true;
            error_ = error;
            lock.unlock();
            changed_.notify_all();
            return;
        }
    }
}

}  // namespace orsan
