#include "OrsanSensorMonitor.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "DataFolder.h"
#include "MessageDlg.h"
#include "OrsanSensorMonitorDlg.h"
#include "ProcessLock.h"
#include "RecordDatabase.h"
#include "RecordDatabaseShell.h"
#include "Resources.h"
#include "SensorPoller.h"

namespace orsan {

QString InstanceLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return folder + QStringLiteral("/") + QLatin1String(kInstanceLockName) +
           QStringLiteral(".lock");
}

namespace {

QString LockFailureText(const ProcessLock& lock) {
    return QStringLiteral("无法创建锁文件%1：%2").arg(lock.Path(), lock.FailureReason());
}

}  // namespace

int RunStationWindow(const StationPaths& paths) {
    // A lock left by a crashed run names a process that no longer exists;
    // such a lock is taken over.
    ProcessLock instanceLock(InstanceLockPath());
    switch (instanceLock.TryLock()) {
        case ProcessLock::Outcome::Held:
            break;
        case ProcessLock::Outcome::HeldByAnother:
            ShowMessage(QStringLiteral("程序已经在运行中,请勿重复打开!"));
            return 0;
        case ProcessLock::Outcome::Failed:
            ShowMessage(LockFailureText(instanceLock));
            return 1;
    }
    // The window records into the data folder, so a headless recorder there
    // would write every row twice.
    ProcessLock recorderLock(RecorderLockPath(paths.dataDir));
    switch (recorderLock.TryLock()) {
        case ProcessLock::Outcome::Held:
            break;
        case ProcessLock::Outcome::HeldByAnother:
            ShowMessage(QStringLiteral("数据文件夹%1正由另一个记录程序（进程%2）使用，"
                                       "同一数据文件夹只能有一个记录程序!")
                            .arg(paths.dataDir, QString::number(recorderLock.OwnerPid())));
            return 1;
        case ProcessLock::Outcome::Failed:
            ShowMessage(LockFailureText(recorderLock));
            return 1;
    }

    const QString logo = paths.DataFile(QStringLiteral("bq_logo.png"));
    if (!QFileInfo::exists(logo)) WriteDefaultLogo(logo);

    RecordDatabase database;
    OpenRecordDatabase(database, paths.dataDir);

    SensorPoller poller;
    {
        OrsanSensorMonitorDlg window(paths, poller, database);
        window.exec();
        // The polling thread ends before anything it uses goes away.
        poller.StopPolling();
    }
    CloseRecordDatabase(database);
    return 0;
}

}  // namespace orsan
