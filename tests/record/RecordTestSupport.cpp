#include "RecordTestSupport.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <csignal>

#include "RecordColumns.h"
#include "RecordDatabase.h"

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

void WithFileSizeLimit(unsigned long maxBytes, const std::function<void()>& work) {
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit full = old;
    full.rlim_cur = maxBytes;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &full), 0);
    work();
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
    std::signal(SIGXFSZ, oldHandler);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QVariant RawExec(const QString& path, const QString& sql) {
    QVariant value;
    bool opened = false;
    WithRawConnection(path, [&](QSqlDatabase& db) {
        opened = true;
        QSqlQuery query(db);
        if (!query.exec(sql))
            ADD_FAILURE() << sql.toStdString() << ": " << query.lastError().text().toStdString();
        else if (query.next())
            value = query.value(0);
    });
    EXPECT_TRUE(opened) << path.toStdString();
    return value;
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

QByteArray Pad(const QByteArray& text, int width) {
    return text + QByteArray(std::max(0, width - int(text.size())), ' ');
}

QByteArray ExpectedHeader() {
    QByteArray line = Pad("TimeStamp", 30);
    for (const char* name : {"Temp", "X_Acc", "X_Vel", "X_Disp", "Y_Acc", "Y_Vel", "Y_Disp",
                             "Z_Acc", "Z_Vel", "Z_Disp"})
        line += Pad(name, 10);
    return line + "\r\n";
}

QByteArray ExpectedLine(const char* stamp, std::initializer_list<const char*> values) {
    QByteArray line = Pad(stamp, 30);
    for (const char* value : values) line += Pad(value, 10);
    return line + "\r\n";
}

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

bool FillRows(RecordDatabase& db, qint64 count, qint64 firstTimeMs, qint64 stepMs) {
    QStringList values;
    for (int slot = 1; slot <= kRecordSlots; ++slot)
        for (int v = 0; v < kRecordValuesPerSlot; ++v)
            values << QStringLiteral("(i % 100000) / 10.0 + %1").arg(slot);
    for (int slot = 1; slot <= kRecordSlots; ++slot) values << QStringLiteral("1");  // fresh
    QSqlDatabase connection = db.Connection();
    if (!connection.transaction()) return false;
    QSqlQuery query(connection);
    const bool ok = query.exec(
        QStringLiteral("WITH RECURSIVE c(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM c LIMIT %1) "
                       "INSERT INTO data SELECT (%2 + i * %3) / 1000, (%2 + i * %3) % 1000, %4 "
                       "FROM c")
            .arg(count)
            .arg(firstTimeMs)
            .arg(stepMs)
            .arg(values.join(QLatin1Char(','))));
    query.finish();
    if (!ok) {
        connection.rollback();
        return false;
    }
    return connection.commit();
}

// Three rows whose slot 4 carries known values; the other slots differ, so a
// value taken from the wrong slot shows. Written so that Time order differs
// from write order, with two rows in one second.
void WriteThreeRows(RecordDatabase& db) {
    RecordRow a = PatternRow(1714523415, 7, 1);
    SetSlotValues(a.sensors[3],
                  {25.26f, 0.123f, 3.456f, 12.0f, 120.0f, 0.05f, 7.77f, 1.005f, 99.999f, 1234.56f});
    RecordRow b = PatternRow(1714523415, 3, 2);
    SetSlotValues(b.sensors[3], {-5.0f, 0, 0.5f, 0.04f, 2.2f, 10.0f, 0.96f, 0.01f, 7.0f, 88.0f});
    RecordRow c = PatternRow(1714523414, 999, 3);
    SetSlotValues(c.sensors[3], {30.0f, 1, 2, 3, 4, 5, 6, 7, 8, 9});
    ASSERT_TRUE(db.Insert(a));
    ASSERT_TRUE(db.Insert(b));
    ASSERT_TRUE(db.Insert(c));
}

// The file for WriteThreeRows and slot 4, as the stored (rounded) values
// read back as 32-bit floats write it. Local time is 8 h east of UTC.
QByteArray ExpectedThreeRowFile() {
    return ExpectedHeader() +
           ExpectedLine("2024-05-01 08:30:14.999",
                        {"30", "1", "2", "3", "4", "5", "6", "7", "8", "9"}) +
           ExpectedLine("2024-05-01 08:30:15.007", {"25.3", "0.12", "3.46", "12", "120", "0.05",
                                                    "7.8", "1", "100", "1234.6"}) +
           ExpectedLine("2024-05-01 08:30:15.003",
                        {"-5", "0", "0.5", "0", "2.2", "10", "1", "0.01", "7", "88"}) +
           "\r\n";
}

}  // namespace orsan::test
