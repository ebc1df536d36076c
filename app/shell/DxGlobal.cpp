#include "DxGlobal.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

namespace orsan {

namespace {

QString& AppDirStorage() {
    static QString folder = QDir::currentPath();
    return folder;
}

QString& DesktopDirStorage() {
    static QString folder = QDir::homePath();
    return folder;
}

FileOpener& OpenerStorage() {
    static FileOpener opener = [](const QString& path) {
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return opener;
}

int gIntervalWholeSeconds = 0;

}  // namespace

const QString& AppDir() { return AppDirStorage(); }
void SetAppDir(const QString& folder) { AppDirStorage() = QDir::cleanPath(folder); }

const QString& DesktopDir() { return DesktopDirStorage(); }
void SetDesktopDir(const QString& folder) { DesktopDirStorage() = QDir::cleanPath(folder); }

QString AppFilePath(const QString& fileName) { return AppDir() + QLatin1Char('/') + fileName; }

LiveValues& GlobalLiveValues() {
    static LiveValues values{};
    return values;
}

int IntervalWholeSeconds() { return gIntervalWholeSeconds; }
void SetIntervalWholeSeconds(int seconds) { gIntervalWholeSeconds = seconds; }

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
