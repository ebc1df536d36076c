#pragma once

#include <QString>
#include <QTextStream>

namespace orsan {

// --check-config: every finding about Config.ini, Alarm.ini and Chart.ini of
// the data folder on out, one a line. 0 when there is none, else 1.
int RunConfigCheckCommand(const QString& dataDir, QTextStream& out);

}  // namespace orsan
