#pragma once

#include <QWidget>
#include <vector>

#include "AlarmEvent.h"
#include "FixedTexts.h"
#include "SensorNames.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace orsan {

class AlarmMonitor;

// The "报警记录" page: the stored events newest first, the latest
// kListLimit and every older one still waiting for acknowledgement (time,
// sensor, axis, value, zone, kind, state, who acknowledged and when) with "确认选中" and
// "全部确认" in the name of the operator entered beside them (the login
// name at first), "静音", "报警设置" and "导出CSV". An unacknowledged
// ALARM/TRIP/LOST row flashes; the latest row of an alarm still active
// stays marked, steady, once acknowledged; other acknowledged rows are grey.
// Acknowledging one event of an alarm acknowledges the alarm.
class AlarmLogDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kListLimit = 500;
    enum Column { kTime, kSensor, kAxis, kValue, kZone, kKind, kState, kAckBy, kAckTime,
                  kColumnCount };

    explicit AlarmLogDlg(AlarmMonitor& monitor, QWidget* parent = nullptr);

    // Reads the list again and reports the unacknowledged ALARM/TRIP/LOST count.
    void Reload();
    void AcknowledgeSelected();
    void AcknowledgeAll();
    // Events the store could not keep: listed (and acknowledged) on this
    // page only, for as long as it lives.
    void KeepUnstored(const std::vector<AlarmEvent>& events);
    // Machine names shown with the sensor numbers ("3# P-101").
    void SetSensorNames(const SensorNames& names);
    // Shown under the list, e.g. when events cannot be stored.
    void ShowProblem(const QString& text);
    // Lights or darkens the rows that wait for acknowledgement.
    void ShowFlash(bool on);

    // Who acknowledges: the entry's text, the login name when it is empty.
    QString OperatorName() const;

    const std::vector<AlarmEvent>& Events() const { return events_; }
    int UnacknowledgedCount() const { return unacknowledged_; }
    QTableWidget* List() const { return list_; }
    QLabel* Problem() const { return problem_; }
    QLineEdit* OperatorEdit() const { return operator_; }

signals:
    // After every reload: ALARM, TRIP and LOST events not acknowledged yet.
    void UnacknowledgedChanged(int count);
    // After an acknowledgement moved the alarm states.
    void acknowledged();
    void muteRequested();
    void settingsRequested();
    void exportRequested();

protected:
    void changeEvent(QEvent* event) override;

private:
    void RetranslateTexts();
    QString StateText(const AlarmEvent& e, bool activeNow) const;
    void Fill();
    QString ValueText(const AlarmEvent& e) const;
    void AfterAcknowledgement(bool stored);
    // A button with its caption and tool tip (may be null) as fixed texts.
    QPushButton* AddButton(const char* text, const char* name, const char* tip);

    AlarmMonitor& monitor_;
    std::vector<AlarmEvent> events_;
    std::vector<AlarmEvent> unstored_;  // newest first; ids -1, -2, ...
    // The rows that flash, and their colour.
    std::vector<std::pair<int, QColor>> flashingRows_;
    int64_t nextUnstoredId_ = -1;
    int unacknowledged_ = 0;
    SensorNames names_;
    FixedTexts texts_{this};
    QTableWidget* list_;
    QLabel* problem_;
    QLineEdit* operator_;
    QString shownDefaultOperator_;  // the entry's first text, until it is edited
};

}  // namespace orsan
