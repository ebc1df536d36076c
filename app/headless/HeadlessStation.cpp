#include "HeadlessStation.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTextStream>
#include <QTimer>
#include <array>

#include "IniFile.h"
#include "LiveReport.h"
#include "SensorPoller.h"
#include "SignalQuit.h"
#include "StationConfig.h"
#include "StationPolling.h"

namespace orsan {

namespace {
constexpr int kRefreshMs = 300;
}  // namespace

int RunHeadless(const HeadlessOptions& options, QTextStream& out, QTextStream& err) {
    const INIFILE configFile(ConfigPath(options.dataDir));
    const StationConfig config = LoadStationConfig(configFile);

    SensorPoller poller;
    StartStationPolling(poller, config.addresses, config.ports);

    LiveValues values{};
    std::array<bool, kSensorCount> commOk{};
    auto refresh = [&] {
        for (int n = 1; n <= kSensorCount; ++n) {
            const MeasurementRecord record = poller.GetMeasurement(n);
            FillLiveValues(values, n, record);
            commOk[n - 1] = record.CommOk;
        }
    };

    QTimer refreshTimer;
    QObject::connect(&refreshTimer, &QTimer::timeout, refresh);
    refreshTimer.start(kRefreshMs);

    QTimer recordTimer;
    // Coarse timers may fire up to 5 % early; rows must keep their interval.
    recordTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&recordTimer, &QTimer::timeout, [&] {
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const auto time = int32_t(now / 1000);
        const auto milliseconds = uint16_t(now % 1000);
        out << QString::fromStdString(FormatLiveReport(time, milliseconds, values, commOk))
            << '\n';
        out.flush();
        if (options.recordSink) options.recordSink(time, milliseconds, values);
    });
    recordTimer.start(int(config.interval * 1000.0f));

    SignalQuit signalQuit;
    if (options.durationSeconds > 0)
        QTimer::singleShot(qint64(options.durationSeconds * 1000.0), qApp, &QCoreApplication::quit);

    const int code = QCoreApplication::exec();
    recordTimer.stop();
    refreshTimer.stop();
    poller.StopPolling();
    if (signalQuit.ReceivedSignal() != 0)
        err << "stopped by signal " << signalQuit.ReceivedSignal() << '\n';
    return code;
}

}  // namespace orsan
