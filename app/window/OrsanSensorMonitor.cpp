#include "OrsanSensorMonitor.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTimer>
#include <utility>

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

// The window watches a folder it cannot record into rather than not opening.
QString ViewerNoticeText(const QString& dataDir, const ProcessLock& lock) {
    return QCoreApplication::translate(
               "OrsanSensorMonitor", "数据文件夹 %1 无法写入（%2），本次只监视和报警，不记录数据。")
        .arg(dataDir, lock.FailureReason());
}

}  // namespace

int RunStationWindow(const StationPaths& paths, const QString& startNotice) {
    // A lock left by a crashed run is no longer held by any process; such a
    // lock is taken over.
    ProcessLock instanceLock(InstanceLockPath());
    switch (instanceLock.TryLock()) {
        case ProcessLock::Outcome::Held:
            break;
        case ProcessLock::Outcome::HeldByAnother:
            ShowMessage(QCoreApplication::translate("OrsanSensorMonitor",
                                                    "程序已经在运行中,请勿重复打开!"));
            return 0;
        case ProcessLock::Outcome::Failed:
            ShowMessage(LockFailureText(instanceLock));
            return 1;
    }
    // The window records into the data folder, so a headless recorder there
    // would write every row twice.
    ProcessLock recorderLock(RecorderLockPath(paths.dataDir));
    QString viewerNotice;
    switch (recorderLock.TryLock()) {
        case ProcessLock::Outcome::Held:
            break;
        case ProcessLock::Outcome::HeldByAnother:
            ShowMessage(RecorderLockRefusal(recorderLock, paths.dataDir));
            return 1;
        case ProcessLock::Outcome::Failed:
            viewerNotice = ViewerNoticeText(paths.dataDir, recorderLock);
            break;
    }

    const QString logo = paths.DataFile(QStringLiteral("bq_logo.png"));
    if (viewerNotice.isEmpty() && !QFileInfo::exists(logo)) WriteDefaultLogo(logo);

    RecordDatabase database;
    if (viewerNotice.isEmpty()) {
        OpenRecordDatabase(database, paths.dataDir);
    } else {
        // Rows recorded there so far still show; a folder without any is
        // only an empty list, the notice already said why.
        database.Open(paths.dataDir, RecordDatabase::Mode::ExistingOnly);
    }

    SensorPoller poller;
    {
        OrsanSensorMonitorDlg window(paths, poller, database, viewerNotice);
        // Once the window shows and monitors: the notice does not hold it up.
        for (const QString* notice : {&startNotice, &std::as_const(viewerNotice)})
            if (!notice->isEmpty())
                QTimer::singleShot(0, &window, [notice] { ShowMessage(*notice); });
        window.exec();
        // The polling thread ends before anything it uses goes away.
        poller.StopPolling();
    }
    CloseRecordDatabase(database);
    return 0;
}

}  // namespace orsan
