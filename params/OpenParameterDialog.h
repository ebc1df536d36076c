#pragma once

#include <cstdint>

class QWidget;

namespace orsan {

class SensorPoller;

// The main window's parameter button: pauses polling, runs the dialog for
// the sensor at address:port modally with the manual speed pre-filled from
// runningSpeed, and resumes polling when it closes (also if it throws).
void OpenParameterDialog(QWidget* parent, SensorPoller& poller, uint32_t address, uint16_t port,
                         float runningSpeed);

}  // namespace orsan
