#pragma once

#include <QWidget>
#include <cstdint>

#include "DiskSpaceGuard.h"
#include "FixedTexts.h"
#include "RecordRow.h"
#include "RecordWriter.h"
#include "SensorNames.h"

class QColor;
class QLabel;
class QPushButton;
class QTableWidget;

namespace orsan {

class DxAlarmStatic;
class RecordDatabase;
class RecordHistoryMode;

// The record page: start/stop recording, the row count and time span, the
// newest rows (last page of 22), clearing and the export of one sensor.
class DatabaseLogDlg : public QWidget {
    Q_OBJECT
public:
    static constexpr int kStartId = 1076;
    static constexpr int kStopId = 1081;
    static constexpr int kLampId = 1083;
    static constexpr int kClearId = 1075;
    static constexpr int kExportId = 3;
    static constexpr int kListId = 1077;
    static constexpr int kFirstTimeId = 1078;
    static constexpr int kLastTimeId = 1079;
    static constexpr int kCountId = 1080;

    // Builds the page stopped and shows the table as it is; exports go to
    // desktopDir.
    DatabaseLogDlg(RecordDatabase& database, const QString& desktopDir, QWidget* parent = nullptr);

    // Chart.ini, for the history chart's axis limits and curves.
    void SetChartIniPath(const QString& path);
    // The history mode: a time range paged through, plotted and exported.
    RecordHistoryMode* History() const { return history_; }
    // Machine names for the export file names, here and in the history mode.
    void SetSensorNames(const SensorNames& names);

    // 1 when the record interval is below 1 s.
    void SetFastInterval(int fast);
    // The record timer's row: written only while recording and the disk
    // has room (DiskSpaceGuard: a stop and a resume are shown on the page,
    // a stop also in a message); the list follows.
    void WriteRecord(const RecordRow& row);
    // Tests play a filling disk through this.
    void SetDiskSpaceProbe(DiskSpaceProbe probe) { diskGuard_ = DiskSpaceGuard(std::move(probe)); }
    bool IsHeldForDiskSpace() const { return diskGuard_.IsStopped(); }

    // Start and stop are then kept in this Config.ini ([DAQ] RECORD), so
    // the window resumes recording at its next start.
    void RememberRecordingIn(const QString& configPath);
    // Recording as it was left at the last run, with a line saying so.
    void ResumeRecording();
    // A data folder that cannot be written: recording stays off, start,
    // stop and clear are disabled, the notice stays on the page.
    void WatchOnly(const QString& notice);

    // A database file that can only be read is refused with one message.
    void StartRecording();
    void StopRecording();
    // Asks first; all rows go in one transaction or none.
    void ClearRecords();
    // Chooser, then the sensor data text file on the desktop, opened there.
    void ExportRecords();
    void RefreshRecordList();

    bool IsRecording() const { return writer_.IsRecording(); }
    // The page's status line: recording resumed, or why it cannot record.
    QString StatusText() const;
    int FastInterval() const { return writer_.FastInterval(); }
    uint32_t WriteCount() const { return writer_.WriteCount(); }

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    // Fixed texts, the list's titles, the note and the history mode's texts
    // in the language installed.
    void RetranslateTexts();
    void PlaceClearAndExport();
    void SetRecording(bool on);
    // A line in the note's place (the note again when empty).
    void ShowStatus(const QString& text, const QColor& color);
    // False while the disk is nearly full; shows each stop and resume.
    bool DiskHasRoom();
    // Notes once that the summaries lag behind the rows, and takes the note
    // back when they catch up.
    void NoteSummariesBehind();

    RecordDatabase& database_;
    RecordWriter writer_;
    QString desktopDir_;
    SensorNames names_;
    QPushButton* stopButton_ = nullptr;
    QPushButton* startButton_ = nullptr;
    DxAlarmStatic* recordLamp_ = nullptr;
    QPushButton* exportButton_ = nullptr;
    QPushButton* clearButton_ = nullptr;
    QLabel* countLabel_ = nullptr;
    QLabel* lastTimeLabel_ = nullptr;
    QLabel* firstTimeLabel_ = nullptr;
    QTableWidget* recordList_ = nullptr;
    QLabel* note_ = nullptr;
    DiskSpaceGuard diskGuard_;
    QString status_;         // shown in the note's place; empty: the note
    QString summariesNote_;  // the status shown while the summaries lag; empty: none
    bool watchOnly_ = false;
    QString configPath_;
    RecordHistoryMode* history_ = nullptr;
    FixedTexts texts_{this};
};

}  // namespace orsan
