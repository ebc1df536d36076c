#pragma once

#include <QLockFile>
#include <QString>

namespace orsan {

// A lock file held by one running process for as long as this object lives.
// A lock left by a process that no longer runs is taken over.
class ProcessLock {
public:
    enum class Outcome {
        Held,           // this process holds it now
        HeldByAnother,  // a running process holds it
        Failed,         // the lock file cannot be made (no permission, no space, ...)
    };

    explicit ProcessLock(const QString& path);
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

    // One attempt, no waiting.
    Outcome TryLock();

    const QString& Path() const { return path_; }
    // After HeldByAnother: the holder's process id.
    qint64 OwnerPid() const { return ownerPid_; }
    // After Failed: why, in the system's words.
    const QString& FailureReason() const { return failureReason_; }

private:
    QString path_;
    QLockFile file_;
    qint64 ownerPid_ = 0;
    QString failureReason_;
};

// The lock that makes the station window or a headless recorder the only
// recorder of a data folder.
QString RecorderLockPath(const QString& dataDir);

}  // namespace orsan
