#include "OwnFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orsan {

namespace {

// Bounds a loop of links pointing at each other, as the kernel does.
constexpr int kMaxLinkDepth = 40;

// The path a write to this name would reach: existing files by their
// canonical path, a name not yet taken (or a dangling link's target) by its
// folder's canonical path and its own name.
QString RealPath(const QString& path) {
    QFileInfo info(QDir::cleanPath(QFileInfo(path).absoluteFilePath()));
    for (int depth = 0; depth < kMaxLinkDepth && info.isSymLink(); ++depth)
        info = QFileInfo(info.symLinkTarget());
    if (info.exists()) return info.canonicalFilePath();
    const QString folder = QFileInfo(info.absolutePath()).canonicalFilePath();
    return (folder.isEmpty() ? info.absolutePath() : folder) + QLatin1Char('/') + info.fileName();
}

}  // namespace

QStringList StationOwnFileNames() {
    return {QStringLiteral("DataRecord.db"),     QStringLiteral("DataRecord.db-wal"),
            QStringLiteral("DataRecord.db-shm"), QStringLiteral("DataRecord.db-journal"),
            QStringLiteral("DataRecord.lock"),   QStringLiteral("Config.ini"),
            QStringLiteral("Alarm.ini"),         QStringLiteral("Chart.ini"),
            QStringLiteral("bq_Info.ini")};
}

bool IsStationOwnFile(const QString& path, const QString& dataDir) {
    if (path.isEmpty() || dataDir.isEmpty()) return false;
    const QString target = RealPath(path);
    const QString folder = QFileInfo(dataDir).canonicalFilePath();
    const QString base = folder.isEmpty() ? QFileInfo(dataDir).absoluteFilePath() : folder;
    for (const QString& name : StationOwnFileNames()) {
        // Our own file may itself be a link (a database kept on another disk).
        if (target == RealPath(base + QLatin1Char('/') + name)) return true;
    }
    return false;
}

QString OwnFileRefusalText(const QString& path) {
    return QCoreApplication::translate("OwnFiles", "不能写入%1：这是本站数据文件夹中自己的文件")
        .arg(path);
}

}  // namespace orsan
