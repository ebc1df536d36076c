#pragma once

#include <QString>
#include <functional>

namespace orsan {

// Hands a file to the desktop's default viewer; false when the desktop
// could not open it (no viewer for the type). Tests replace the opener.
using FileOpener = std::function<bool(const QString& path)>;
bool OpenWithDesktop(const QString& path);

// Opens an exported file; when the desktop cannot, says where the file is,
// so an export is never silent about where it went.
void OpenExportedFile(const QString& path);
QString ExportedFileNotice(const QString& path);  // what it then says

// Said when an export finds no data to write.
QString NothingToExportText();
FileOpener ReplaceFileOpener(FileOpener opener);  // returns the previous one

// Name shown in the caption of the standard message boxes.
QString ApplicationName();

}  // namespace orsan
