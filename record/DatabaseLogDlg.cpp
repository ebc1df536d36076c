#include "DatabaseLogDlg.h"

#include <QColor>
#include <QDateTime>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <algorithm>

#include "DesktopShell.h"
#include "DialogControls.h"
#include "DxAlarmStatic.h"
#include "EnterEscapeFilter.h"
#include "FrozenColumnTable.h"
#include "Language.h"
#include "MessageDlg.h"
#include "RecordDatabase.h"
#include "RecordExport.h"
#include "RecordHistoryMode.h"
#include "RecordListRows.h"
#include "RecordPageText.h"
#include "Resources.h"
#include "SensorDataFile.h"
#include "SetExpDlg.h"
#include "StationConfig.h"

namespace orsan {

namespace {

const char* const kNoteText = QT_TRANSLATE_NOOP(
    "orsan::DatabaseLogDlg",
    "注意：因数据量大，表格里只显示最后记录的22条数据，之前记录的数据已存储在数据文件中，"
    "点击导出即可导出全部数据！，点击清空则会从新记录！");

// What the record takes on the disk: the file and its write-ahead log.
QString FileSizeText(const QString& path) {
    const qint64 bytes = QFileInfo(path).size() + QFileInfo(path + QStringLiteral("-wal")).size();
    return QCoreApplication::translate("orsan::DatabaseLogDlg", "文件 %1 MB")
        .arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

}  // namespace

DatabaseLogDlg::DatabaseLogDlg(RecordDatabase& database, const QString& desktopDir, QWidget* parent)
    : QWidget(parent), database_(database), writer_(database), desktopDir_(desktopDir) {
    BuildControls();
    ConsumeEnterEscape(this);
    StopRecording();
    RefreshRecordList();
}

void DatabaseLogDlg::BuildControls() {
    setFont(DialogFont());
    const DialogControls ui(this);
    resize(ui.Units().Size(548, 238));

    texts_.Set(ui.Label(QString(), 1, 3, 42, 8), QT_TR_NOOP("【长时记录】"));
    startButton_ = texts_.Set(ui.Button(kStartId, {}, 47, 2, 39, 10), QT_TR_NOOP("开始记录"));
    stopButton_ = texts_.Set(ui.Button(kStopId, {}, 91, 2, 39, 10), QT_TR_NOOP("停止记录"));
    recordLamp_ = ui.Place(new DxAlarmStatic(this), 134, 4, 10, 5, kLampId);
    QLabel* fromCaption = texts_.Set(ui.Label({}, 149, 3, 37, 8), QT_TR_NOOP("记录时间从:"));
    firstTimeLabel_ = ui.Label(QStringLiteral("-"), 190, 3, 72, 8, Qt::AlignCenter, kFirstTimeId);
    QLabel* toCaption = texts_.Set(ui.Label({}, 266, 3, 10, 8), QT_TR_NOOP("到:"));
    lastTimeLabel_ = ui.Label(QStringLiteral("-"), 282, 3, 72, 8, Qt::AlignCenter, kLastTimeId);
    QLabel* countCaption = texts_.Set(ui.Label({}, 359, 3, 42, 8), QT_TR_NOOP("已记录数据："));
    countLabel_ = ui.Label(QStringLiteral("-"), 405, 3, 45, 8, Qt::AlignCenter, kCountId);
    QLabel* countUnit = texts_.SetChineseOnly(ui.Label({}, 456, 3, 8, 8), QT_TR_NOOP("条"));
    clearButton_ = texts_.Set(ui.IconButton(kClearId, {}, kIconClear, {}, 474, 2, 31, 10),
                              QT_TR_NOOP("清空"), QT_TR_NOOP("清除数据，重新记录!"));
    exportButton_ = texts_.Set(ui.IconButton(kExportId, {}, kIconExportText, {}, 513, 2, 31, 10),
                               QT_TR_NOOP("导出"), QT_TR_NOOP("导出数据到文本文件中!"));
    PlaceClearAndExport();

    // The number and the time stay in view while the values scroll sideways.
    recordList_ =
        ui.Place(new FrozenColumnTable(0, kRecordListColumns, 2, this), 4, 14, 540, 211, kListId);
    recordList_->setHorizontalHeaderLabels(RecordListTitles());
    for (int c = 0; c < kRecordListColumns; ++c) {
        recordList_->setColumnWidth(c, RecordListColumnWidth(c));
        recordList_->horizontalHeaderItem(c)->setTextAlignment(Qt::AlignCenter);
    }
    recordList_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    recordList_->verticalHeader()->setVisible(false);
    // Rows tight enough that the whole page of 22 fits without scrolling.
    recordList_->verticalHeader()->setMinimumSectionSize(1);
    const int available = recordList_->height() - 2 * recordList_->frameWidth() -
                          recordList_->horizontalHeader()->sizeHint().height() -
                          recordList_->horizontalScrollBar()->sizeHint().height();
    recordList_->verticalHeader()->setDefaultSectionSize(
        std::max(recordList_->fontMetrics().height(), available / kRecordsPerPage));
    recordList_->setShowGrid(true);
    recordList_->setSelectionBehavior(QAbstractItemView::SelectRows);
    recordList_->setSelectionMode(QAbstractItemView::SingleSelection);
    recordList_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    recordList_->setWordWrap(false);
    // The selection stays visible when the list loses the focus.
    QPalette palette = recordList_->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    recordList_->setPalette(palette);

    // The note fills its line; the file's size goes with the row count, on
    // its tool tip, so no text of the page is cut.
    note_ = ui.Label(tr(kNoteText), 3, 227, 462, 8);
    note_->setObjectName(QStringLiteral("recordNote"));

    history_ = new RecordHistoryMode(this, database_, recordList_, desktopDir_,
                                     {fromCaption, firstTimeLabel_, toCaption, lastTimeLabel_,
                                      countCaption, countLabel_, countUnit, note_});
    connect(history_, &RecordHistoryMode::ended, this, &DatabaseLogDlg::RefreshRecordList);

    connect(startButton_, &QPushButton::clicked, this, &DatabaseLogDlg::StartRecording);
    connect(stopButton_, &QPushButton::clicked, this, &DatabaseLogDlg::StopRecording);
    connect(clearButton_, &QPushButton::clicked, this, &DatabaseLogDlg::ClearRecords);
    connect(exportButton_, &QPushButton::clicked, this, &DatabaseLogDlg::ExportRecords);
}

void DatabaseLogDlg::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange) RetranslateTexts();
}

void DatabaseLogDlg::PlaceClearAndExport() {
    // English captions need wider buttons; they take the room of the count's
    // unit, which English leaves out. The Chinese layout stays as it is.
    const DialogUnits units(font());
    const bool english = IsEnglishShown();
    clearButton_->setGeometry(english ? units.Rect(468, 2, 36, 10) : units.Rect(474, 2, 31, 10));
    exportButton_->setGeometry(english ? units.Rect(508, 2, 36, 10) : units.Rect(513, 2, 31, 10));
}

void DatabaseLogDlg::RetranslateTexts() {
    texts_.Retranslate();
    PlaceClearAndExport();
    recordList_->setHorizontalHeaderLabels(RecordListTitles());
    if (status_.isEmpty()) note_->setText(tr(kNoteText));
    history_->RetranslateTexts();
    RefreshRecordList();
}

void DatabaseLogDlg::SetChartIniPath(const QString& path) {
    history_->SetChartIniPath(path);
}

void DatabaseLogDlg::SetFastInterval(int fast) {
    writer_.SetFastInterval(fast);
}

void DatabaseLogDlg::WriteRecord(const RecordRow& row) {
    if (writer_.IsRecording() && !DiskHasRoom()) return;
    const RecordWriter::Outcome outcome = writer_.Write(row);
    if (outcome.attempted && !outcome.written && database_.LastWriteFailedReadOnly()) {
        // No later row can succeed: one message, not one failure per row.
        StopRecording();
        ShowMessage(ReadOnlyDatabaseText(database_.FilePath()));
    }
    if (outcome.attempted) NoteSummariesBehind();
    if (outcome.reload) RefreshRecordList();
}

void DatabaseLogDlg::NoteSummariesBehind() {
    const bool behind = database_.SummariesBehind();
    if (behind == !summariesNote_.isEmpty()) return;
    if (behind) {
        summariesNote_ =
            tr("小时和日汇总暂未更新，每记录%1条重试一次").arg(RecordDatabase::kSummaryBatchRows);
        ShowStatus(summariesNote_, QColor(255, 0, 0));
        return;
    }
    // Another status that took the note meanwhile stays.
    if (status_ == summariesNote_) ShowStatus(QString(), QColor());
    summariesNote_.clear();
}

bool DatabaseLogDlg::DiskHasRoom() {
    switch (diskGuard_.Check(QFileInfo(database_.FilePath()).absolutePath())) {
        case DiskSpaceGuard::Change::Stopped:
            // Recording stays on (and in Config.ini): it goes on by itself.
            ShowStatus(diskGuard_.StoppedText(), QColor(255, 0, 0));
            ShowMessage(diskGuard_.StoppedText());
            break;
        case DiskSpaceGuard::Change::Resumed:
            recordLamp_->SetState(1);
            ShowStatus(diskGuard_.ResumedText(), QColor(0, 128, 0));
            break;
        case DiskSpaceGuard::Change::None:
            break;
    }
    // Dark also after a stop and start meanwhile: no row is being written.
    if (diskGuard_.IsStopped()) recordLamp_->SetState(0);
    return !diskGuard_.IsStopped();
}

void DatabaseLogDlg::RememberRecordingIn(const QString& configPath) {
    configPath_ = configPath;
}

void DatabaseLogDlg::ResumeRecording() {
    StartRecording();
    // In the note's row: the history toggle takes the rest of it.
    if (IsRecording()) ShowStatus(tr("已恢复上次的记录"), QColor(0, 128, 0));
}

void DatabaseLogDlg::ShowStatus(const QString& text, const QColor& color) {
    status_ = text;
    note_->setText(text.isEmpty() ? tr(kNoteText) : text);
    note_->setToolTip(text);
    note_->setStyleSheet(text.isEmpty() ? QString()
                                        : QStringLiteral("color: %1;").arg(color.name()));
}

void DatabaseLogDlg::WatchOnly(const QString& notice) {
    configPath_.clear();
    SetRecording(false);
    for (QPushButton* button : {startButton_, stopButton_, clearButton_}) button->setEnabled(false);
    ShowStatus(notice, QColor(255, 0, 0));
    watchOnly_ = true;
}

QString DatabaseLogDlg::StatusText() const {
    return status_;
}

void DatabaseLogDlg::StartRecording() {
    if (database_.IsOpen() && !database_.CanWrite()) {
        ShowMessage(ReadOnlyDatabaseText(database_.FilePath()));
        return;
    }
    SetRecording(true);
}

void DatabaseLogDlg::StopRecording() {
    SetRecording(false);
    // A viewer's notice stays: it says why recording is off.
    if (!watchOnly_) ShowStatus(QString(), QColor());
}

void DatabaseLogDlg::SetRecording(bool on) {
    recordLamp_->SetState(on ? 1 : 0);
    startButton_->setEnabled(!on);
    stopButton_->setEnabled(on);
    exportButton_->setEnabled(!on);
    writer_.SetRecording(on);
    if (configPath_.isEmpty()) return;
    INIFILE config(configPath_);
    SaveRecording(config, on);
}

void DatabaseLogDlg::RefreshRecordList() {
    countLabel_->setToolTip(database_.FilePath().isEmpty()
                                ? QString()
                                : FileSizeText(database_.FilePath()) + QStringLiteral("  ") +
                                      database_.FilePath());
    // History mode keeps its page; the newest rows come back when it ends.
    if (history_->IsActive()) return;
    RecordPage page;
    if (!database_.LoadLastPage(kRecordsPerPage, &page)) {
        // The list is emptied, the labels keep what they last showed.
        recordList_->setRowCount(0);
        return;
    }
    if (page.count <= 0) {
        recordList_->setRowCount(0);
        countLabel_->setText(QStringLiteral("-"));
        lastTimeLabel_->setText(QStringLiteral("-"));
        firstTimeLabel_->setText(QStringLiteral("-"));
        return;
    }
    firstTimeLabel_->setText(FormatLocalTime(page.firstTime));
    lastTimeLabel_->setText(FormatLocalTime(page.lastTime));
    countLabel_->setText(QString::number(page.count));

    ShowRecordRows(recordList_, page.startIndex, page.rows);
}

void DatabaseLogDlg::ClearRecords() {
    if (!AskYesNo(tr("请确认是否清空所有已经记录的数据"))) return;
    database_.ClearAll();
    if (history_->IsActive()) history_->Requery();
    RefreshRecordList();
}

void DatabaseLogDlg::SetSensorNames(const SensorNames& names) {
    names_ = names;
    history_->SetSensorNames(names);
}

void DatabaseLogDlg::ExportRecords() {
    SetExpDlg chooser(this);
    chooser.SetSensorNames(names_);
    if (chooser.exec() != QDialog::Accepted) return;
    const int sensor = chooser.SelectedSensor();
    const QString path = SensorDataFileName(desktopDir_, sensor, QDateTime::currentDateTime(),
                                            names_[size_t(sensor - 1)]);
    const RecordExportResult result = ExportSensorRecords(database_, sensor, path);
    switch (result.status) {
        case RecordExportResult::Status::Written:
            OpenExportedFile(path);
            return;
        case RecordExportResult::Status::Empty:
            ShowMessage(NothingToExportText());
            return;
        case RecordExportResult::Status::Failed:
            ShowMessage(tr("导出数据失败，未生成文件。\n") + result.error);
            return;
    }
}

}  // namespace orsan
