#pragma once

#include <QString>

#include "StationPaths.h"

namespace orsan {

inline constexpr char kInstanceLockName[] = "KelvaroExt";

// Start-up and shutdown of the station window: refuses a second instance
// (exit code 0) and a data folder another recorder holds (exit code 1); a
// data folder whose lock cannot be made (read-only, another user's) opens
// the window as a viewer that monitors and alarms but does not record, with
// a notice saying why. Opens the record database, runs the main window
// modally, then shuts down in reverse order with the polling thread stopped
// first. A startNotice (a setting that was refused) shows once the window is
// up. Needs a QApplication; returns the exit code.
int RunStationWindow(const StationPaths& paths, const QString& startNotice = QString());

// Where the single-instance lock file lives: the user's runtime folder.
QString InstanceLockPath();

}  // namespace orsan
