#pragma once

#include <QString>

namespace orsan {

inline constexpr char kInstanceLockName[] = "KelvaroExt";

// Start-up and shutdown of the station window: refuses a second instance,
// fixes the data and desktop folders, opens the record database, runs the
// main window modally, then shuts down in reverse order with the polling
// thread stopped first. Needs a QApplication; returns the exit code.
int RunStationWindow(const QString& dataDir);

// Where the single-instance lock file lives: the user's runtime folder.
QString InstanceLockPath();

}  // namespace orsan
