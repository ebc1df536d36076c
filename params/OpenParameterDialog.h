#pragma once

#include "SensorEndpoint.h"

class QWidget;

namespace orsan {

class SensorPoller;

// The main window's parameter button: pauses the polling of sensor
// sensorId alone, runs the dialog for that sensor at its endpoint (address,
// port, unit id, answer limit) modally
// with the manual speed pre-filled from runningSpeed, and resumes its
// polling when the dialog closes (also if it throws). The other sensors go
// on being polled.
void OpenParameterDialog(QWidget* parent, SensorPoller& poller, int sensorId,
                         const SensorEndpoint& endpoint, float runningSpeed);

}  // namespace orsan
