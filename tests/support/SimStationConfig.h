#pragma once

#include <QString>
#include <QStringList>

#include "IniFile.h"
#include "SimProcess.h"
#include "StationConfig.h"

namespace orsan::test {

// Config.ini in folder: the record interval and the addresses and ports of
// the simulator's first `count` sensors. False when the file cannot be written.
inline bool WriteSimStationConfig(const QString& folder, const SimProcess& sim, int count,
                                  const QString& interval) {
    INIFILE config(ConfigPath(folder));
    bool written = config.WriteString("DAQ", "INTERVAL", interval);
    for (int n = 1; n <= count; ++n) {
        const QStringList octets = QString::fromStdString(sim.Sensor(n).address).split('.');
        for (int k = 1; k <= 4; ++k)
            written = config.WriteString("SENSOR", OctetKey(n, k), octets[k - 1]) && written;
        written = config.WriteInt("SENSOR", PortKey(n), sim.Sensor(n).modbusPort) && written;
    }
    return written;
}

}  // namespace orsan::test
