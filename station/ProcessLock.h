#pragma once

#include <QString>

#include "SocketKit.h"

namespace orsan {

// A lock file held by one running process for as long as this object lives.
// The kernel decides who holds it (an advisory lock on the open file, which
// the kernel lets go when its process ends, even by a crash), so a file left
// empty, garbled or naming a pid now used by another process is taken over
// whenever no process holds the lock. The holder writes its pid into the
// file only while holding the lock.
class ProcessLock {
public:
    enum class Outcome {
        Held,           // this process holds it now
        HeldByAnother,  // a running process holds it
        Failed,         // the lock file cannot be made (no permission, no space, ...)
    };

    explicit ProcessLock(const QString& path);
    ~ProcessLock();
    ProcessLock(const ProcessLock&) = delete;
    ProcessLock& operator=(const ProcessLock&) = delete;

    // One attempt. When another process holds the lock, waits briefly for
    // its pid to appear in the file (a holder that has just taken the lock
    // writes it right after).
    Outcome TryLock();
    // Removes the file and lets the lock go; also done by the destructor.
    void Unlock();

    const QString& Path() const { return path_; }
    // After HeldByAnother: the holder's process id; 0 when it never wrote one.
    qint64 OwnerPid() const { return ownerPid_; }
    // After Failed: why, in the user's words.
    const QString& FailureReason() const { return failureReason_; }

private:
    Outcome Fail(int error);
    QString path_;
    UniqueFd file_;
    qint64 ownerPid_ = 0;
    QString failureReason_;
};

// The lock that makes the station window or a headless recorder the only
// recorder of a data folder.
QString RecorderLockPath(const QString& dataDir);

// The user's words for a recorder lock that was not taken: who holds the
// folder (HeldByAnother), or why the lock file cannot be made (Failed).
QString RecorderLockRefusal(const ProcessLock& lock, const QString& dataDir);
// "无法创建锁文件<path>：<reason>"
QString LockFailureText(const ProcessLock& lock);

}  // namespace orsan
