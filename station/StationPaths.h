#pragma once

#include <QString>

namespace orsan {

// The two folders a station works in, fixed at start-up and handed to
// whoever reads or writes files.
struct StationPaths {
    QString dataDir;     // INI files, the record database and the logo
    QString desktopDir;  // exports: the desktop, or the home folder without one

    QString DataFile(const QString& fileName) const {
        return dataDir + QLatin1Char('/') + fileName;
    }
};

}  // namespace orsan
