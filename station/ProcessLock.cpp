#include "ProcessLock.h"

#include <QFileInfo>
#include <QTemporaryFile>

namespace orsan {

namespace {

// QLockFile tells only the kind of failure; a trial file beside the lock
// gives the system's own reason (for example a full disk).
QString ProbeWriteFailure(const QString& lockPath) {
    QTemporaryFile probe(QFileInfo(lockPath).absolutePath() + QStringLiteral("/.probe-XXXXXX"));
    if (!probe.open()) return probe.errorString();
    if (probe.write("probe\n", 6) != 6 || !probe.flush()) return probe.errorString();
    return QString();
}

}  // namespace

ProcessLock::ProcessLock(const QString& path) : path_(path), file_(path) {
    // Stale only when its process is gone, never by age: where the file
    // system has no native locks, a lock older than the default 30 s would
    // be taken from a station that runs for months.
    file_.setStaleLockTime(0);
}

ProcessLock::Outcome ProcessLock::TryLock() {
    if (file_.tryLock(0)) return Outcome::Held;
    QString hostName;
    QString appName;
    if (file_.error() == QLockFile::LockFailedError &&
        file_.getLockInfo(&ownerPid_, &hostName, &appName))
        return Outcome::HeldByAnother;

    if (file_.error() == QLockFile::LockFailedError) {
        failureReason_ = QStringLiteral("the lock file exists but is not a lock file");
    } else {
        failureReason_ = ProbeWriteFailure(path_);
        if (failureReason_.isEmpty())
            failureReason_ = file_.error() == QLockFile::PermissionError
                                 ? QStringLiteral("Permission denied")
                                 : QStringLiteral("Unknown error");
    }
    return Outcome::Failed;
}

QString RecorderLockPath(const QString& dataDir) {
    return dataDir + QStringLiteral("/DataRecord.lock");
}

}  // namespace orsan
