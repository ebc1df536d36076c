#pragma once

#include <QWidget>
#include <vector>

#include "AlarmEvent.h"
#include "SensorNames.h"

class QLabel;
class QPushButton;
class QTableWidget;

namespace orsan {

class AlarmStore;

// The "报警记录" page: the stored events newest first (time, sensor, axis,
// value, zone, kind, acknowledgement) with "确认选中" and "全部确认". An
// acknowledged event stays listed, marked "已确认".
class AlarmLogDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kListLimit = 500;

    explicit AlarmLogDlg(AlarmStore& store, QWidget* parent = nullptr);

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

    const std::vector<AlarmEvent>& Events() const { return events_; }
    int UnacknowledgedCount() const { return unacknowledged_; }
    QTableWidget* List() const { return list_; }
    QLabel* Problem() const { return problem_; }

signals:
    // After every reload: ALARM, TRIP and LOST events not acknowledged yet.
    void UnacknowledgedChanged(int count);

private:
    void Fill();

    AlarmStore& store_;
    std::vector<AlarmEvent> events_;
    std::vector<AlarmEvent> unstored_;  // newest first; ids -1, -2, ...
    int64_t nextUnstoredId_ = -1;
    int unacknowledged_ = 0;
    SensorNames names_;
    QTableWidget* list_;
    QLabel* problem_;
    QPushButton* acknowledgeSelected_;
    QPushButton* acknowledgeAll_;
};

}  // namespace orsan
