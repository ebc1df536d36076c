#include "OrsanSensorMonitor.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "DataFolder.h"
#include "MessageDlg.h"
#include "OrsanSensorMonitorDlg.h"
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

int RunStationWindow(const StationPaths& paths) {
    // A lock left by a crashed run names a process that no longer exists;
    // QLockFile takes such a lock over.
    QLockFile instanceLock(InstanceLockPath());
    if (!instanceLock.tryLock(0)) {
        ShowMessage(QStringLiteral("程序已经在运行中,请勿重复打开!"));
        return 0;
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
