#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace orsan {

// Space of the file system holding a folder, in bytes.
struct DiskSpace {
    qint64 available = 0;  // what this user may still write
    qint64 total = 0;
};

// The file system's own answer (statvfs); empty when it cannot tell.
std::optional<DiskSpace> ProbeDiskSpace(const QString& folder);
using DiskSpaceProbe = std::function<std::optional<DiskSpace>(const QString& folder)>;

// Stops recording before the disk is full, so a row is never half written
// and nothing already in the file is lost: nearly full is less than 1 % of
// the file system or less than 200 MB free. Recording resumes by itself once
// a tenth more than that limit is free again, so a disk on the edge does not
// stop and resume with every row.
class DiskSpaceGuard {
public:
    static constexpr qint64 kMinimumFreeBytes = 200LL * 1024 * 1024;
    static constexpr int kMinimumFreePercent = 1;

    explicit DiskSpaceGuard(DiskSpaceProbe probe = ProbeDiskSpace) : probe_(std::move(probe)) {}

    enum class Change { None, Stopped, Resumed };
    // Before each row: probes the disk holding folder. A disk that cannot be
    // probed changes nothing (the write itself then tells).
    Change Check(const QString& folder);
    bool IsStopped() const { return stopped_; }

    // The user's words for the last change.
    QString StoppedText() const;
    QString ResumedText() const;

private:
    DiskSpaceProbe probe_;
    bool stopped_ = false;
    QString folder_;
    DiskSpace last_;
};

}  // namespace orsan
