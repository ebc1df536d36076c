#include "ProcessLock.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <chrono>
#include <cstring>
#include <thread>

namespace orsan {

namespace {

// A releasing holder removes the file; one opened just before that is no
// longer the lock, so the attempt starts again on the new file.
constexpr int kOpenAttempts = 5;
// A holder writes its pid right after it took the lock; this covers a slow
// disk with room to spare.
constexpr auto kPidWait = std::chrono::seconds(2);
constexpr auto kPidRetry = std::chrono::milliseconds(5);

QString ReasonText(int error) {
    switch (error) {
        case EACCES:
        case EPERM:
            return QCoreApplication::translate("ProcessLock", "没有写入权限");
        case EROFS:
            return QCoreApplication::translate("ProcessLock", "文件系统只读");
        case ENOSPC:
        case EDQUOT:
            return QCoreApplication::translate("ProcessLock", "磁盘空间不足");
        case EISDIR:
            return QCoreApplication::translate("ProcessLock", "该位置已有同名文件夹");
        case ENOENT:
        case ENOTDIR:
            return QCoreApplication::translate("ProcessLock", "文件夹不存在");
        case ELOOP:
            // Opened through a link, the lock would overwrite whatever it points at.
            return QCoreApplication::translate("ProcessLock", "锁文件是符号链接，拒绝使用");
        default:
            return QCoreApplication::translate("ProcessLock", "系统错误%1（%2）")
                .arg(error)
                .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
}

// The pid on the file's first line, once the holder wrote the line whole.
qint64 ReadPid(int fd) {
    char text[64];
    const ssize_t n = ::pread(fd, text, sizeof text, 0);
    if (n <= 0) return 0;
    const void* newline = std::memchr(text, '\n', size_t(n));
    if (newline == nullptr) return 0;
    bool ok = false;
    const qint64 pid =
        QByteArray(text, int(static_cast<const char*>(newline) - text)).toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

qint64 WaitForOwnerPid(int fd) {
    const auto deadline = std::chrono::steady_clock::now() + kPidWait;
    for (;;) {
        if (const qint64 pid = ReadPid(fd)) return pid;
        if (std::chrono::steady_clock::now() >= deadline) return 0;
        std::this_thread::sleep_for(kPidRetry);
    }
}

bool IsFileAt(int fd, const QByteArray& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::stat(path.constData(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

// Same lines as QLockFile writes, so either kind of holder can be named.
QByteArray OwnerText() {
    return QByteArray::number(qint64(::getpid())) + '\n' +
           QCoreApplication::applicationName().toUtf8() + '\n' +
           QSysInfo::machineHostName().toUtf8() + '\n';
}

bool WriteOwner(int fd) {
    const QByteArray text = OwnerText();
    if (::ftruncate(fd, 0) != 0) return false;
    qsizetype done = 0;
    while (done < text.size()) {
        const ssize_t n = ::pwrite(fd, text.constData() + done, size_t(text.size() - done), done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

}  // namespace

ProcessLock::ProcessLock(const QString& path) : path_(path) {}

ProcessLock::~ProcessLock() {
    Unlock();
}

ProcessLock::Outcome ProcessLock::Fail(int error) {
    failureReason_ = ReasonText(error);
    return Outcome::Failed;
}

ProcessLock::Outcome ProcessLock::TryLock() {
    if (file_.Valid()) return Outcome::Held;
    ownerPid_ = 0;
    failureReason_.clear();
    const QByteArray name = QFile::encodeName(path_);
    for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
        UniqueFd fd(::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644));
        const int openError = errno;
        if (!fd.Valid() && openError == EACCES) {
            // Another user's lock file still tells whether its owner runs.
            fd.Reset(::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
            if (fd.Valid() && ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
                ownerPid_ = WaitForOwnerPid(fd.Get());
                return Outcome::HeldByAnother;
            }
            return Fail(EACCES);
        }
        if (!fd.Valid()) return Fail(openError);
        if (::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
            const int lockError = errno;
            if (lockError != EWOULDBLOCK) return Fail(lockError);
            ownerPid_ = WaitForOwnerPid(fd.Get());
            return Outcome::HeldByAnother;
        }
        if (!IsFileAt(fd.Get(), name)) continue;
        // Whatever the file held (nothing, garbage, a pid now used by another
        // process) was left by a process that no longer holds the lock.
        if (!WriteOwner(fd.Get())) return Fail(errno);
        file_ = std::move(fd);
        return Outcome::Held;
    }
    return Fail(EBUSY);
}

void ProcessLock::Unlock() {
    if (!file_.Valid()) return;
    // Removed while still locked, so no one takes a file that is going away
    // (a waiting opener sees the file is no longer at the path and starts again).
    const QByteArray name = QFile::encodeName(path_);
    if (IsFileAt(file_.Get(), name)) ::unlink(name.constData());
    file_.Reset();
}

QString RecorderLockPath(const QString& dataDir) {
    return dataDir + QStringLiteral("/DataRecord.lock");
}

QString LockFailureText(const ProcessLock& lock) {
    return QCoreApplication::translate("ProcessLock", "无法创建锁文件%1：%2")
        .arg(lock.Path(), lock.FailureReason());
}

QString RecorderLockRefusal(const ProcessLock& lock, const QString& dataDir) {
    if (!lock.FailureReason().isEmpty()) return LockFailureText(lock);
    const QString holder =
        lock.OwnerPid() > 0
            ? QCoreApplication::translate("ProcessLock", "（进程%1）").arg(lock.OwnerPid())
            : QString();
    return QCoreApplication::translate(
               "ProcessLock",
               "数据文件夹%1正由另一个记录程序%2使用，同一数据文件夹只能有一个记录程序!")
        .arg(dataDir, holder);
}

}  // namespace orsan
