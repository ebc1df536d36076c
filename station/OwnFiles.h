#pragma once

#include <QString>
#include <QStringList>

namespace orsan {

// The files the station keeps in its data folder: the record database with
// its SQLite companions, the INI files and the recorder's lock.
QStringList StationOwnFileNames();

// True when path names one of the station's own files in dataDir once links,
// "." and ".." are followed, so an export can never replace one of them.
bool IsStationOwnFile(const QString& path, const QString& dataDir);

// The refusal of an output path that is one of the station's own files.
QString OwnFileRefusalText(const QString& path);

}  // namespace orsan
