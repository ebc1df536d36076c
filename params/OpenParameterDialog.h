#pragma once

#include <QString>

#include "SensorEndpoint.h"

class QWidget;

namespace orsan {

class SensorPoller;
class SettingParsDlg;

// The main window's parameter button: opens the dialog of sensor sensorId
// at its endpoint (address, port, unit id, answer limit) as a window of its own that is not modal, so the station
// goes on showing and acknowledging every alarm. Its caption names the
// machine (name empty: the sensor's number only) and the address; the
// manual speed is pre-filled from runningSpeed. The polling of that sensor
// alone pauses while the dialog is open and resumes when it closes (Escape
// or its close box) or goes with its parent. At most one dialog per sensor:
// asked again, the open one comes to the front. Returns the dialog, which
// deletes itself once closed.
SettingParsDlg* OpenParameterDialog(QWidget* parent, SensorPoller& poller, int sensorId,
                                    const SensorEndpoint& endpoint, float runningSpeed,
                                    const QString& machineName = QString());

// Closes every parameter dialog opened with parent, resuming their sensors.
void CloseParameterDialogs(QWidget* parent);

}  // namespace orsan
