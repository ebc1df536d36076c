#include "DiskSpaceGuard.h"

#include <QCoreApplication>
#include <QFile>
#include <QStorageInfo>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/statvfs.h>
#endif

namespace orsan {

namespace {

qint64 StopBelow(const DiskSpace& space) {
    return std::max(DiskSpaceGuard::kMinimumFreeBytes,
                    space.total / 100 * DiskSpaceGuard::kMinimumFreePercent);
}

QString Megabytes(qint64 bytes) {
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MB");
}

}  // namespace

std::optional<DiskSpace> ProbeDiskSpace(const QString& folder) {
#ifdef Q_OS_UNIX
    // One system call, cheap enough before every row.
    struct statvfs info {};
    if (statvfs(QFile::encodeName(folder).constData(), &info) != 0) return std::nullopt;
    return DiskSpace{qint64(info.f_bavail) * qint64(info.f_frsize),
                     qint64(info.f_blocks) * qint64(info.f_frsize)};
#else
    const QStorageInfo storage(folder);
    if (!storage.isValid()) return std::nullopt;
    return DiskSpace{storage.bytesAvailable(), storage.bytesTotal()};
#endif
}

DiskSpaceGuard::Change DiskSpaceGuard::Check(const QString& folder) {
    const std::optional<DiskSpace> space = probe_ ? probe_(folder) : std::nullopt;
    if (!space) return Change::None;
    folder_ = folder;
    last_ = *space;
    const qint64 limit = StopBelow(*space);
    if (!stopped_ && space->available < limit) {
        stopped_ = true;
        return Change::Stopped;
    }
    if (stopped_ && space->available >= limit + limit / 10) {
        stopped_ = false;
        return Change::Resumed;
    }
    return Change::None;
}

QString DiskSpaceGuard::StoppedText() const {
    return QCoreApplication::translate(
               "orsan::DiskSpaceGuard",
               "磁盘空间不足：%1 所在磁盘只剩 %2 可用（需至少 %3），数据记录已暂停，"
               "已记录的数据完好。腾出空间后将自动继续记录。")
        .arg(folder_, Megabytes(last_.available), Megabytes(StopBelow(last_)));
}

QString DiskSpaceGuard::ResumedText() const {
    return QCoreApplication::translate("orsan::DiskSpaceGuard",
                                       "磁盘空间已恢复（%1 可用），数据记录已自动继续。")
        .arg(Megabytes(last_.available));
}

}  // namespace orsan
