#pragma once

#include <QByteArray>
#include <QString>
#include <string>

#include "OutputFile.h"

namespace orsan {

// The bytes the C library needs for a path, in the file system's encoding.
std::string OutputPathBytes(const QString& path);

// Writes bytes as OutputFile does (regular files atomically, devices and
// FIFOs in place); on failure reason says why.
bool WriteOutputBytes(const QString& path, const QByteArray& bytes, QString* reason,
                      OutputFile::Dash dash = OutputFile::Dash::FileName);

}  // namespace orsan
