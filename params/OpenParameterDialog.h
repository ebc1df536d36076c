#pragma once

#include <cstdint>

class QWidget;

namespace orsan {

class SensorPoller;

// The main window's parameter button: pauses the polling of sensor
// sensorId alone, runs the dialog for that sensor at address:port modally
// with the manual speed pre-filled from runningSpeed, and resumes its
// polling when the dialog closes (also if it throws). The other sensors go
// on being polled.
void OpenParameterDialog(QWidget* parent, SensorPoller& poller, int sensorId, uint32_t address,
                         uint16_t port, float runningSpeed);

}  // namespace orsan
