#pragma once

#include <QString>
#include <functional>

#include "LiveValues.h"

namespace orsan {

// Process-wide values fixed at start-up and shared by the windows.

// Folder of the INI files, the record database and the logo.
const QString& AppDir();
void SetAppDir(const QString& folder);

// Where exports are written: the desktop, or the home folder without one.
const QString& DesktopDir();
void SetDesktopDir(const QString& folder);

// AppDir() + "/" + fileName.
QString AppFilePath(const QString& fileName);

// Refilled by the main window every 300 ms; read by panels, the record timer
// and the parameter dialog opener. UI thread only.
LiveValues& GlobalLiveValues();

// The record interval truncated to whole seconds, read by the panels.
int IntervalWholeSeconds();
void SetIntervalWholeSeconds(int seconds);

// Hands a file to the desktop's default viewer. Tests replace the opener.
using FileOpener = std::function<void(const QString& path)>;
void OpenWithDesktop(const QString& path);
FileOpener ReplaceFileOpener(FileOpener opener);  // returns the previous one

// Name shown in the caption of the standard message boxes.
QString ApplicationName();

}  // namespace orsan
