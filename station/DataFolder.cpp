#include "DataFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace orsan {

namespace {

bool IsWritableFolder(const QString& folder) {
    // QFileInfo::isWritable ignores ACLs and read-only mounts; a real file says it.
    QTemporaryFile probe(folder + QStringLiteral("/.orsan-write-probe-XXXXXX"));
    return probe.open();
}

bool EnsureFolder(const QString& folder, QString* error) {
    if (QDir().mkpath(folder)) return true;
    if (error)
        *error = QCoreApplication::translate("DataFolder", "无法创建数据文件夹 %1")
                     .arg(QDir::toNativeSeparators(folder));
    return false;
}

// Folders of installed programs: a station started from there (by root, say)
// must not put its files beside the system's programs.
bool IsSystemProgramFolder(const QString& folder) {
    static const QStringList kSystemFolders = {
        QStringLiteral("/bin"),           QStringLiteral("/sbin"),
        QStringLiteral("/usr/bin"),       QStringLiteral("/usr/sbin"),
        QStringLiteral("/usr/local/bin"), QStringLiteral("/usr/local/sbin"),
    };
    return kSystemFolders.contains(QDir::cleanPath(folder));
}

}  // namespace

QString ResolveDataFolder(const QString& requested, const QString& executableFolder,
                          QString* error) {
    if (!requested.isEmpty()) {
        const QString folder = QDir(requested).absolutePath();
        return EnsureFolder(folder, error) ? QDir::cleanPath(folder) : QString();
    }
    if (!executableFolder.isEmpty() && !IsSystemProgramFolder(executableFolder)) {
        const QDir exeDir(executableFolder);
        if (QFileInfo::exists(exeDir.filePath(QStringLiteral("Config.ini"))) ||
            IsWritableFolder(exeDir.absolutePath()))
            return QDir::cleanPath(exeDir.absolutePath());
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) {
        if (error) *error = QCoreApplication::translate("DataFolder", "找不到可用的数据文件夹");
        return QString();
    }
    return EnsureFolder(folder, error) ? QDir::cleanPath(folder) : QString();
}

QString ResolveDesktopFolder() {
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir()) return QDir::cleanPath(desktop);
    return QDir::homePath();
}

}  // namespace orsan
