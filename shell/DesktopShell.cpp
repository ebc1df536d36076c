#include "DesktopShell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QUrl>

namespace orsan {

namespace {

FileOpener& OpenerStorage() {
    static FileOpener opener = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return opener;
}

}  // namespace

void OpenWithDesktop(const QString& path) {
    if (OpenerStorage()) OpenerStorage()(path);
}

FileOpener ReplaceFileOpener(FileOpener opener) {
    FileOpener previous = std::move(OpenerStorage());
    OpenerStorage() = std::move(opener);
    return previous;
}

QString ApplicationName() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("OrsanSensorMonitor") : name;
}

}  // namespace orsan
