#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <barrier>
#include <thread>

#include "ProcessLock.h"

namespace orsan {
namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Whatever a lock file holds, the kernel lock decides: a file no running
// process holds is taken over, and the new holder's pid replaces its text.
TEST(ProcessLockTest, FileNoProcessHoldsIsTakenOverWhateverItSays) {
    QTemporaryDir dir;
    const QString path = dir.filePath("DataRecord.lock");
    for (const QByteArray& left : {QByteArray(), QByteArray("\x01garbage"), QByteArray("1\n"),
                                   QByteArray("99999999\nOrsanSensorMonitor\nhost\n")}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(left);
        file.close();
        {
            ProcessLock lock(path);
            ASSERT_EQ(lock.TryLock(), ProcessLock::Outcome::Held) << left.toStdString();
            EXPECT_TRUE(ReadAll(path).startsWith(QByteArray::number(::getpid()) + '\n'));
        }
        EXPECT_FALSE(QFile::exists(path)) << "released, the file goes";
    }
}

// Two lockers started at the same instant: one holds, the other is always
// told the holder's pid, never left without it.
TEST(ProcessLockTest, TwoLockersAtOnceAlwaysNameTheHolder) {
    QTemporaryDir dir;
    const QString path = dir.filePath("DataRecord.lock");
    for (int round = 0; round < 300; ++round) {
        ProcessLock first(path);
        ProcessLock second(path);
        std::barrier start(2);
        ProcessLock::Outcome a{};
        ProcessLock::Outcome b{};
        std::thread other([&] {
            start.arrive_and_wait();
            b = second.TryLock();
        });
        start.arrive_and_wait();
        a = first.TryLock();
        other.join();
        ASSERT_EQ(int(a == ProcessLock::Outcome::Held) + int(b == ProcessLock::Outcome::Held), 1)
            << "round " << round;
        const ProcessLock& refused = a == ProcessLock::Outcome::Held ? second : first;
        ASSERT_EQ(refused.OwnerPid(), ::getpid()) << "round " << round;
        EXPECT_EQ(RecorderLockRefusal(refused, "/data"),
                  QString::fromUtf8("数据文件夹/data正由另一个记录程序（进程%1）使用，"
                                    "同一数据文件夹只能有一个记录程序!")
                      .arg(::getpid()));
    }
}

TEST(ProcessLockTest, LockThatCannotBeMadeSaysWhyInChinese) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("DataRecord.lock"));
    const struct {
        QString path, reason;
    } cases[] = {
        {dir.filePath("DataRecord.lock"), QString::fromUtf8("该位置已有同名文件夹")},
        {dir.filePath("missing/DataRecord.lock"), QString::fromUtf8("文件夹不存在")},
    };
    for (const auto& c : cases) {
        ProcessLock lock(c.path);
        EXPECT_EQ(lock.TryLock(), ProcessLock::Outcome::Failed);
        EXPECT_EQ(RecorderLockRefusal(lock, dir.path()),
                  QString::fromUtf8("无法创建锁文件%1：%2").arg(c.path, c.reason));
    }
}

}  // namespace
}  // namespace orsan
