#include "RecordTestSupport.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSqlQuery>
#include <atomic>

namespace orsan::test {

RecordRow PatternRow(int32_t time, uint16_t milliseconds, int seed) {
    RecordRow row;
    row.time = time;
    row.milliseconds = milliseconds;
    for (int s = 0; s < kSensorCount; ++s) {
        SensorSample& sample = row.sensors[size_t(s)];
        sample.time = time;
        sample.milliseconds = milliseconds;
        const float base = float(seed % 50) + float(s + 1) * 100.0f;
        sample.T_Shell = base + 0.1f;
        sample.Acc_X = base + 0.01f;
        sample.Vel_X = base + 0.02f;
        sample.Disp_X = base + 0.3f;
        sample.Acc_Y = base + 0.04f;
        sample.Vel_Y = base + 0.05f;
        sample.Disp_Y = base + 0.6f;
        sample.Acc_Z = base + 0.07f;
        sample.Vel_Z = base + 0.08f;
        sample.Disp_Z = base + 0.9f;
    }
    return row;
}

void WithRawConnection(const QString& path, const std::function<void(QSqlDatabase&)>& work) {
    static std::atomic<int> counter{0};
    const QString name = QStringLiteral("raw_check_%1").arg(++counter);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

qint64 RawRowCount(const QString& path) {
    qint64 count = -1;
    WithRawConnection(path, [&](QSqlDatabase& db) {
        QSqlQuery query(db);
        if (query.exec(QStringLiteral("SELECT COUNT(*) FROM data")) && query.next())
            count = query.value(0).toLongLong();
    });
    return count;
}

namespace {

bool SetImmutable(const QString& path, bool on) {
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

}  // namespace

ScopedReadOnly::ScopedReadOnly(const QString& path) : path_(path) {
    if (::geteuid() == 0) {
        // Root writes through any permission bits; only the immutable flag stops it.
        immutable_ = applied_ = SetImmutable(path, true);
        return;
    }
    struct stat info {};
    const QByteArray native = QFile::encodeName(path);
    if (::stat(native.constData(), &info) != 0) return;
    permissions_ = info.st_mode & 07777;
    applied_ = ::chmod(native.constData(), permissions_ & ~0222u) == 0;
}

ScopedReadOnly::~ScopedReadOnly() {
    Undo();
}

void ScopedReadOnly::Undo() {
    if (!applied_) return;
    if (immutable_)
        SetImmutable(path_, false);
    else
        ::chmod(QFile::encodeName(path_).constData(), permissions_);
    applied_ = false;
}

}  // namespace orsan::test
