#pragma once

#include <QString>
#include <functional>

namespace orsan {

// Hands a file to the desktop's default viewer. Tests replace the opener.
using FileOpener = std::function<void(const QString& path)>;
void OpenWithDesktop(const QString& path);
FileOpener ReplaceFileOpener(FileOpener opener);  // returns the previous one

// Name shown in the caption of the standard message boxes.
QString ApplicationName();

}  // namespace orsan
