#include "OutputPath.h"

#include <QFile>

namespace orsan {

std::string OutputPathBytes(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

bool WriteOutputBytes(const QString& path, const QByteArray& bytes, QString* reason,
                      OutputFile::Dash dash) {
    std::string error;
    if (WriteOutputFile(OutputPathBytes(path), std::string_view(bytes.constData(), bytes.size()),
                        error, dash))
        return true;
    if (reason) *reason = QString::fromLocal8Bit(error);
    return false;
}

}  // namespace orsan
