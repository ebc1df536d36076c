#include "OpenParameterDialog.h"

#include "SensorPoller.h"
#include "SettingParsDlg.h"

namespace orsan {

namespace {

// The dialog makes its own connections; the polling thread must leave the
// sensor alone until it closes.
class PollingPause {
public:
    explicit PollingPause(SensorPoller& poller) : poller_(poller) { poller_.SetPaused(true); }
    ~PollingPause() { poller_.SetPaused(false); }
    PollingPause(const PollingPause&) = delete;
    PollingPause& operator=(const PollingPause&) = delete;

private:
    SensorPoller& poller_;
};

}  // namespace

void OpenParameterDialog(QWidget* parent, SensorPoller& poller, uint32_t address, uint16_t port,
                         float runningSpeed) {
    SettingParsDlg dialog(parent);
    dialog.SetSensorAddress(address);
    dialog.SetSensorPort(port);
    dialog.SetManualSpeed(runningSpeed);
    PollingPause pause(poller);
    dialog.exec();
}

}  // namespace orsan
