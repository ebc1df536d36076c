#include "OpenParameterDialog.h"

#include "SensorPoller.h"
#include "SettingParsDlg.h"

namespace orsan {

namespace {

// The dialog makes its own connections; polling must leave its sensor alone
// until it closes.
class PollingPause {
public:
    PollingPause(SensorPoller& poller, int sensorId) : poller_(poller), sensorId_(sensorId) {
        poller_.SetPaused(sensorId_, true);
    }
    ~PollingPause() { poller_.SetPaused(sensorId_, false); }
    PollingPause(const PollingPause&) = delete;
    PollingPause& operator=(const PollingPause&) = delete;

private:
    SensorPoller& poller_;
    const int sensorId_;
};

}  // namespace

void OpenParameterDialog(QWidget* parent, SensorPoller& poller, int sensorId,
                         const SensorEndpoint& endpoint, float runningSpeed) {
    SettingParsDlg dialog(parent);
    dialog.SetSensorEndpoint(endpoint);
    dialog.SetManualSpeed(runningSpeed);
    PollingPause pause(poller, sensorId);
    dialog.exec();
}

}  // namespace orsan
