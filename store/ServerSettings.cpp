#include "ServerSettings.h"

#include <QSysInfo>
#include <cstdio>

#include "RecordDatabase.h"
#include "StoreStatusText.h"

namespace orsan {

namespace {
const QString kSection = QStringLiteral("SERVER");
const QString kConninfoKey = QStringLiteral("CONNINFO");
const QString kStationKey = QStringLiteral("STATION");
}  // namespace

QString DefaultStationName() {
    return QSysInfo::machineHostName();
}

ServerSettings LoadServerSettings(const INIFILE& config) {
    ServerSettings settings;
    settings.conninfo = config.GetString(kSection, kConninfoKey, QString()).trimmed();
    settings.station = config.GetString(kSection, kStationKey, QString()).trimmed();
    if (settings.station.isEmpty()) settings.station = DefaultStationName();
    return settings;
}

bool SaveServerSettings(INIFILE& config, const ServerSettings& settings) {
    return config.WriteString(kSection, kConninfoKey, settings.conninfo.trimmed()) &&
           config.WriteString(kSection, kStationKey, settings.station.trimmed());
}

store::SensorMask ConfiguredSensors(const std::array<uint32_t, kSensorCount>& addresses) {
    store::SensorMask mask;
    for (int i = 0; i < kSensorCount; ++i) mask.set(size_t(i), addresses[size_t(i)] != 0);
    return mask;
}

std::unique_ptr<store::StoreForwarder> StartStoreForwarder(
    const QString& dataDir, const ServerSettings& settings,
    const std::array<uint32_t, kSensorCount>& addresses, const SensorNames& names,
    std::function<void(const store::StoreStatus&)> onChange) {
    if (!settings.IsConfigured()) return nullptr;
    store::StoreForwarderOptions options;
    options.conninfo = settings.conninfo.toStdString();
    options.station = settings.station.toStdString();
    options.databasePath = RecordDatabase::PathIn(dataDir).toStdString();
    options.sensors = ConfiguredSensors(addresses);
    options.sensorNames = StoreSensorNames(names);
    options.onChange = std::move(onChange);
    return std::make_unique<store::StoreForwarder>(std::move(options));
}

store::SensorNames StoreSensorNames(const SensorNames& names) {
    store::SensorNames converted;
    for (size_t i = 0; i < converted.size() && i < names.size(); ++i)
        converted[i] = names[i].toStdString();
    return converted;
}

std::unique_ptr<store::StoreForwarder> StartStationStore(const QString& dataDir) {
    const INIFILE config(ConfigPath(dataDir));
    const StationConfig station = LoadStationConfig(config);
    return StartStoreForwarder(
        dataDir, LoadServerSettings(config), station.addresses, station.names,
        [conflictsTold = false](const store::StoreStatus& status) mutable {
            // The forwarder tells the first conflicts apart from any change of state.
            const bool conflictNews = status.conflicts > 0 && !conflictsTold;
            conflictsTold = conflictsTold || conflictNews;
            const QString message =
                conflictNews ? StoreConflictMessage(status) : StoreChangeMessage(status);
            // One write per line, so lines from two threads never interleave.
            const QByteArray line =
                QStringLiteral("orsan-monitor: %1\n").arg(message).toLocal8Bit();
            std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
            std::fflush(stderr);
        });
}

}  // namespace orsan
