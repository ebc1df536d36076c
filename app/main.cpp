#include <QApplication>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

#include "CommandLine.h"
#include "DataFolder.h"
#include "HeadlessStation.h"

namespace {

// Window mode needs a QApplication; the other modes must run without a display.
std::unique_ptr<QCoreApplication> MakeApplication(orsan::RunMode mode, int& argc, char** argv) {
    if (mode == orsan::RunMode::Window) return std::make_unique<QApplication>(argc, argv);
    return std::make_unique<QCoreApplication>(argc, argv);
}

orsan::RunMode PeekMode(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--headless") return orsan::RunMode::Headless;
        if (arg == "--export-sensor") return orsan::RunMode::ExportSensor;
        if (arg == "--capture") return orsan::RunMode::Capture;
    }
    return orsan::RunMode::Window;
}

}  // namespace

int main(int argc, char** argv) {
    auto app = MakeApplication(PeekMode(argc, argv), argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("OrsanSensorMonitor"));
    QTextStream out(stdout);
    QTextStream err(stderr);

    orsan::CommandLine options;
    QString error;
    if (!orsan::ParseCommandLine(QCoreApplication::arguments().mid(1), options, &error)) {
        err << "orsan-monitor: " << error << '\n' << orsan::UsageText();
        return 2;
    }
    const QString dataDir = orsan::ResolveDataFolder(
        options.dataDir, QCoreApplication::applicationDirPath(), &error);
    if (dataDir.isEmpty()) {
        err << "orsan-monitor: " << error << '\n';
        return 1;
    }

    switch (options.mode) {
        case orsan::RunMode::Headless: {
            orsan::HeadlessOptions headless;
            headless.dataDir = dataDir;
            headless.durationSeconds = options.durationSeconds;
            return orsan::RunHeadless(headless, out, err);
        }
        default:
            err << "orsan-monitor: this mode is not available yet\n";
            return 1;
    }
}
