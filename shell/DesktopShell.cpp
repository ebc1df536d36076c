#include "DesktopShell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "MessageDlg.h"

namespace orsan {

namespace {

FileOpener& OpenerStorage() {
    static FileOpener opener = [](const QString& path) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    };
    return opener;
}

}  // namespace

bool OpenWithDesktop(const QString& path) {
    return OpenerStorage() && OpenerStorage()(path);
}

void OpenExportedFile(const QString& path) {
    if (!OpenWithDesktop(path)) ShowMessage(ExportedFileNotice(path));
}

QString ExportedFileNotice(const QString& path) {
    // The path first thing after one short line: the message box shows
    // three lines before it scrolls.
    return QCoreApplication::translate("DesktopShell", "已导出，但无法自动打开，文件位于:\n") +
           QDir::toNativeSeparators(path);
}

QString NothingToExportText() {
    return QCoreApplication::translate("DesktopShell", "没有可导出的数据。");
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
