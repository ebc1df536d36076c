#pragma once

#include <QString>

namespace orsan {

// The folder of the INI files, the record database and the logo:
// the --data-dir folder when given (created when missing), else the
// executable's folder when it holds Config.ini or is writable (never a system
// program folder such as /usr/bin), else the
// per-user application data folder (created when missing). Empty when the
// chosen folder cannot be created; *error then says why.
QString ResolveDataFolder(const QString& requested, const QString& executableFolder,
                          QString* error);

// The desktop folder, or the home folder when there is no desktop folder.
QString ResolveDesktopFolder();

}  // namespace orsan
