#include "OrsanSensorMonitor.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "DataFolder.h"
#include "DxGlobal.h"
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
    return folder + QStringLiteral("/") + QLatin1String(kInstanceLockName) + QStringLiteral(".lock");
}

int RunStationWindow(const QString& dataDir) {
    // A lock left by a crashed run names a process that no longer exists;
    // QLockFile takes such a lock over.
    QLockFile instanceLock(InstanceLockPath());
    if (!instanceLock.tryLock(0)) {
        ShowMessage(QStringLiteral("程序已经在运行中,请勿重复打开!"));
        return 0;
    }

    SetAppDir(dataDir);
    SetDesktopDir(ResolveDesktopFolder());
    const QString logo = AppFilePath(QStringLiteral("bq_logo.png"));
    if (!QFileInfo::exists(logo)) WriteDefaultLogo(logo);

    RecordDatabase database;
    OpenRecordDatabase(database, AppDir());

    SensorPoller poller;
    {
        OrsanSensorMonitorDlg window(poller, database);
        window.exec();
        // The polling thread ends before anything it uses goes away.
        poller.StopPolling();
    }
    CloseRecordDatabase(database);
    return 0;
}

}  // namespace orsan
