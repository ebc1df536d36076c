#pragma once

#include <QDir>
#include <QString>
#include <QTemporaryDir>

namespace orsan::fuzz {

// A folder for the files a case writes, removed at exit; on tmpfs when there
// is one, as every case writes and syncs files and a disk would set the pace.
inline const QString& ScratchFolder() {
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/orsan-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/orsan-fuzz-XXXXXX"));
    static const QString path = folder.path();
    return path;
}

}  // namespace orsan::fuzz
