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

// A file no running process holds is taken over whatever it says (empty,
// garbled, a pid now another process's); one that cannot be made says why.
TEST(ProcessLockTest, KernelLockDecidesAndFailuresSayWhyInChinese) {
    QTemporaryDir dir;
    const QString path = dir.filePath("DataRecord.lock");
    for (const QByteArray left : {"", "\x01garbage", "1\n"}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(left) == left.size());
        file.close();
        ProcessLock lock(path);
        ASSERT_EQ(lock.TryLock(), ProcessLock::Outcome::Held) << left.toStdString();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().startsWith(QByteArray::number(::getpid()) + '\n'));
    }
    ASSERT_TRUE(QDir(dir.path()).mkdir("taken.lock"));
    for (const auto& [name, reason] : {std::pair{"taken.lock", "该位置已有同名文件夹"},
                                      std::pair{"missing/DataRecord.lock", "文件夹不存在"}}) {
        ProcessLock lock(dir.filePath(name));
        EXPECT_EQ(lock.TryLock(), ProcessLock::Outcome::Failed);
        EXPECT_EQ(RecorderLockRefusal(lock, dir.path()),
                  QString::fromUtf8("无法创建锁文件%1：%2").arg(dir.filePath(name), reason));
    }
}

// Two lockers started at the same instant: one holds, the other is always
// told who.
TEST(ProcessLockTest, TwoLockersAtOnceAlwaysNameTheHolder) {
    QTemporaryDir dir;
    const QString expected = QString::fromUtf8(
        "数据文件夹/d正由另一个记录程序（进程%1）使用，同一数据文件夹只能有一个记录程序!");
    for (int round = 0; round < 300; ++round) {
        ProcessLock first(dir.filePath("DataRecord.lock"));
        ProcessLock second(dir.filePath("DataRecord.lock"));
        std::barrier start(2);
        std::thread other([&] {
            start.arrive_and_wait();
            second.TryLock();
        });
        start.arrive_and_wait();
        const bool firstHolds = first.TryLock() == ProcessLock::Outcome::Held;
        other.join();
        ASSERT_EQ(RecorderLockRefusal(firstHolds ? second : first, "/d"), expected.arg(::getpid()))
            << "round " << round;
    }
    EXPECT_FALSE(QFile::exists(dir.filePath("DataRecord.lock")));  // released, the file goes
}

}  // namespace
}  // namespace orsan
