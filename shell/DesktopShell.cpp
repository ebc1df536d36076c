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
    if (OpenWithDesktop(path)) return;
    ShowMessage(QStringLiteral(
                    "数据已导出到文件:\n%1\n但桌面无法打开它（没有可用的查看程序），请手动打开。")
                    .arg(QDir::toNativeSeparators(path)));
}

QString NothingToExportText() {
    return QStringLiteral("没有可导出的数据。");
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
