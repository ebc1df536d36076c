#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>
#include <clocale>
#include <iostream>
#include <memory>

#include "AlarmExport.h"
#include "AnalyseCommand.h"
#include "CommandLine.h"
#include "ConfigCheck.h"
#include "ConfigCheckCommand.h"
#include "CoreText.h"
#include "DailyReportSchedule.h"
#include "DataFolder.h"
#include "DiskSpaceGuard.h"
#include "HeadlessStation.h"
#include "Language.h"
#include "OrsanSensorMonitor.h"
#include "OwnFiles.h"
#include "RecordCommand.h"
#include "RecordRetention.h"
#include "ReportCommand.h"
#include "ServerSettings.h"
#include "StationConfig.h"
#include "StationPaths.h"
#include "WaveCaptureCommand.h"

namespace {

// The window needs a QApplication; the other modes must run without a display.
// The daily report draws text, which takes a QGuiApplication: on the
// offscreen platform unless one is chosen.
std::unique_ptr<QCoreApplication> MakeApplication(orsan::RunMode mode, int& argc, char** argv) {
    if (mode == orsan::RunMode::Window) return std::make_unique<QApplication>(argc, argv);
    if (mode == orsan::RunMode::Report) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

int RunHeadlessMode(const orsan::CommandLine& options, const QString& dataDir, QTextStream& out,
                    QTextStream& err) {
    orsan::HeadlessOptions headless;
    headless.dataDir = dataDir;
    headless.durationSeconds = options.durationSeconds;
    orsan::HeadlessRecorder recorder;
    const auto report = [&err](const QString& text) {
        err << "orsan-monitor: " << text << '\n';
        err.flush();
    };
    // Without a word, a run with nothing to poll looks like six dead sensors.
    const QString configPath = orsan::ConfigPath(dataDir);
    if (orsan::ConfiguredSensors(orsan::LoadStationConfig(orsan::INIFILE(configPath)).addresses)
            .none())
        report(QFileInfo::exists(configPath)
                   ? QCoreApplication::translate(
                         "Headless", "数据文件夹%1：Config.ini 中没有配置任何传感器地址")
                         .arg(dataDir)
                   : QCoreApplication::translate(
                         "Headless", "数据文件夹%1中没有 Config.ini：没有配置任何传感器")
                         .arg(dataDir));
    // The folder's lock first: a refused recorder must not forward rows
    // beside the folder's own recorder.
    if (options.record) {
        QString error;
        if (!recorder.Open(dataDir, &error)) {
            err << "orsan-monitor: " << error << '\n';
            return 1;
        }
        // Rows from here on are recorded for the sensors of Config.ini; a
        // failure is on stderr already and recording goes on.
        recorder.Database().NoteConfiguredSensors(orsan::ConfiguredSensors(
            orsan::LoadStationConfig(orsan::INIFILE(orsan::ConfigPath(dataDir))).addresses));
    }
    // Started before recording and stopped after it, so rows written up to
    // the end get their drain time.
    const std::unique_ptr<orsan::store::StoreForwarder> store = orsan::StartStationStore(dataDir);
    if (store) {
        headless.backlog = [&store] { return store->Status().backlog; };
        headless.conflicts = [&store] { return store->Status().conflicts; };
    }
    std::unique_ptr<orsan::RecordRetention> retention;
    orsan::DiskSpaceGuard diskGuard;
    // Yesterday's report, when Config.ini asks for one; a failure is only reported.
    const std::unique_ptr<orsan::DailyReportSchedule> dailyReports =
        orsan::StartDailyReports(dataDir, orsan::INIFILE(orsan::ConfigPath(dataDir)), report);
    if (options.record) {
        retention = orsan::StartRecordRetention(recorder.Database(),
                                                orsan::INIFILE(orsan::ConfigPath(dataDir)), report);
        headless.recordSink = [&recorder, &store, &diskGuard, &dataDir,
                               report](const orsan::RecordRow& row) {
            switch (diskGuard.Check(dataDir)) {
                case orsan::DiskSpaceGuard::Change::Stopped:
                    report(diskGuard.StoppedText());
                    break;
                case orsan::DiskSpaceGuard::Change::Resumed:
                    report(diskGuard.ResumedText());
                    break;
                case orsan::DiskSpaceGuard::Change::None:
                    break;
            }
            if (diskGuard.IsStopped()) return true;
            if (recorder.Write(row)) {
                if (store) store->Wake();
                return true;
            }
            if (!recorder.Database().LastWriteFailedReadOnly()) return true;
            report(orsan::ReadOnlyDatabaseText(recorder.Database().FilePath()));
            return false;
        };
    }
    const int code = orsan::RunHeadless(headless, out, err);
    retention.reset();
    recorder.Close();
    if (store) store->Stop();
    return code;
}

orsan::RecordExportRequest ExportRequest(const orsan::CommandLine& options) {
    orsan::RecordExportRequest request;
    request.sensor = options.exportSensor;
    request.outPath = options.outPath;
    request.csv = options.exportFormat == orsan::ExportFormat::Csv;
    const orsan::RecordRange all = orsan::RecordRange::All();
    request.range = orsan::RecordRange::Between(options.exportFromMs.value_or(all.fromMs),
                                                options.exportToMs.value_or(all.toMs));
    return request;
}

}  // namespace

int main(int argc, char** argv) {
    QTextStream out(stdout);
    QTextStream err(stderr);

    // Parsed before any application object exists, so a bad argument is
    // reported even where no display is available.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
    orsan::CommandLine options;
    QString error;
    if (!orsan::ParseCommandLine(arguments, options, &error)) {
        err << "orsan-monitor: " << error << '\n' << orsan::UsageText();
        return 2;
    }
    if (options.mode == orsan::RunMode::Help) {
        out << orsan::UsageText();
        return 0;
    }
    if (options.mode == orsan::RunMode::Version) {
        out << orsan::VersionText();
        return 0;
    }

    if (options.mode == orsan::RunMode::Window && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        err << "orsan-monitor: no display for the station window; use --headless\n";
        return 1;
    }

    auto app = MakeApplication(options.mode, argc, argv);
    // Qt adopts the user's locale; numbers in files, the database and labels
    // are always written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QCoreApplication::setApplicationName(QStringLiteral("OrsanSensorMonitor"));
    // The Qt-free cores' messages in the language of the loaded translation.
    orsan::CoreText::Install([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
    // --lang reaches the data folder's messages too; Config.ini's choice
    // needs the folder.
    if (!options.language.isEmpty()) orsan::StartLanguage(options.language, orsan::INIFILE());
    const QString dataDir =
        orsan::ResolveDataFolder(options.dataDir, QCoreApplication::applicationDirPath(), &error);
    if (dataDir.isEmpty()) {
        err << "orsan-monitor: " << error << '\n';
        return 1;
    }
    const QString languageProblem =
        orsan::StartLanguage(options.language, orsan::INIFILE(orsan::ConfigPath(dataDir)));
    // The check names it among the other findings.
    if (options.mode == orsan::RunMode::CheckConfig)
        return orsan::RunConfigCheckCommand(dataDir, out);
    if (!languageProblem.isEmpty() && options.mode != orsan::RunMode::Window)
        err << "orsan-monitor: " << languageProblem << '\n';
    // Refused Config.ini values, and lines of any INI file that are not read,
    // are told wherever the station starts to work with them.
    QStringList configProblems;
    if (options.mode == orsan::RunMode::Window || options.mode == orsan::RunMode::Headless) {
        configProblems = orsan::StationConfigProblems(orsan::INIFILE(orsan::ConfigPath(dataDir)));
        for (const char* name : {"Alarm.ini", "Chart.ini"})
            configProblems << orsan::UnreadableLineProblems(
                orsan::INIFILE(QDir(dataDir).filePath(QLatin1String(name))), QLatin1String(name));
    }
    if (options.mode == orsan::RunMode::Headless)
        for (const QString& problem : configProblems) err << "orsan-monitor: " << problem << '\n';
    const orsan::StationPaths paths{dataDir, orsan::ResolveDesktopFolder()};
    // An export, capture or report replaces its target: never the station's own files.
    if (options.outPath != QLatin1String("-") &&
        orsan::IsStationOwnFile(options.outPath, dataDir)) {
        err << "orsan-monitor: " << orsan::OwnFileRefusalText(options.outPath) << '\n';
        return 1;
    }

    const orsan::SpectrumKind spectrumKind =
        orsan::SpectrumKindFromName(options.spectrum.toStdString())
            .value_or(orsan::SpectrumKind::Acceleration);
    switch (options.mode) {
        case orsan::RunMode::Headless:
            return RunHeadlessMode(options, dataDir, out, err);
        case orsan::RunMode::ExportSensor:
            return orsan::RunRecordExportCommand(dataDir, ExportRequest(options), out, err);
        case orsan::RunMode::ExportAlarms:
            return orsan::RunAlarmExportCommand(dataDir, options.outPath, out, err);
        case orsan::RunMode::Capture:
            return orsan::RunCaptureCommand(
                options.captureAddress, options.captureSeconds, options.outPath.toStdString(),
                paths.desktopDir.toStdString(), options.capturePort, std::cout, std::cerr,
                options.spectrumGiven
                    ? orsan::SpectrumCaptureOutput(spectrumKind, size_t(options.segmentLength))
                    : orsan::CaptureOutput{});
        case orsan::RunMode::Analyse:
            return orsan::RunAnalyseCommand(options.analysePath.toStdString(), spectrumKind,
                                            size_t(options.segmentLength),
                                            options.outPath.toStdString(), std::cout, std::cerr);
        case orsan::RunMode::Report:
            return orsan::RunReportCommand(dataDir, options.reportDay, options.outPath, out, err);
        case orsan::RunMode::Window:
            return orsan::RunStationWindow(
                paths, (languageProblem.isEmpty() ? configProblems
                                                  : QStringList(languageProblem) + configProblems)
                           .join(QLatin1Char('\n')));
        case orsan::RunMode::Help:
        case orsan::RunMode::Version:
        case orsan::RunMode::CheckConfig:
            break;
    }
    return 1;
}
