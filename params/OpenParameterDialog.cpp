#include "OpenParameterDialog.h"

#include <QPointer>

#include "SensorPoller.h"
#include "SettingParsDlg.h"

namespace orsan {

namespace {

// The dialog makes its own connections; polling must leave its sensor alone
// while the dialog is open. Owned by the dialog, so it ends with it at the
// latest.
class PollingPause : public QObject {
public:
    PollingPause(SensorPoller& poller, int sensorId, QObject* owner)
        : QObject(owner), poller_(poller), sensorId_(sensorId) {
        poller_.SetPaused(sensorId_, true);
    }
    ~PollingPause() override { poller_.SetPaused(sensorId_, false); }
    PollingPause(const PollingPause&) = delete;
    PollingPause& operator=(const PollingPause&) = delete;

private:
    SensorPoller& poller_;
    const int sensorId_;
};

QString DialogName(int sensorId) {
    return QStringLiteral("parameterDialog%1").arg(sensorId);
}

}  // namespace

SettingParsDlg* OpenParameterDialog(QWidget* parent, SensorPoller& poller, int sensorId,
                                    const SensorEndpoint& endpoint, float runningSpeed,
                                    const QString& machineName) {
    if (parent) {
        if (auto* open = parent->findChild<SettingParsDlg*>(DialogName(sensorId),
                                                            Qt::FindDirectChildrenOnly)) {
            open->raise();
            open->activateWindow();
            return open;
        }
    }
    auto* dialog = new SettingParsDlg(parent);
    dialog->setObjectName(DialogName(sensorId));
    dialog->SetSensorEndpoint(endpoint);
    dialog->SetMachine(sensorId, machineName);
    dialog->SetManualSpeed(runningSpeed);
    QPointer<PollingPause> pause = new PollingPause(poller, sensorId, dialog);
    QObject::connect(dialog, &QDialog::finished, dialog, [dialog, pause] {
        // Polling resumes now, not at the deferred deletion, and a new
        // dialog of the sensor is not taken for this one meanwhile.
        delete pause.data();
        dialog->setObjectName(QString());
        dialog->deleteLater();
    });
    dialog->show();
    return dialog;
}

void CloseParameterDialogs(QWidget* parent) {
    if (!parent) return;
    for (auto* dialog : parent->findChildren<SettingParsDlg*>(Qt::FindDirectChildrenOnly))
        dialog->reject();
}

}  // namespace orsan
