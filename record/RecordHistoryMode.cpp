#include "RecordHistoryMode.h"

#include <QComboBox>
#include <QDateTime>
#include <QDateTimeEdit>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <algorithm>

#include "ChartSettings.h"
#include "DesktopShell.h"
#include "DialogUnits.h"
#include "HistoryChartDlg.h"
#include "MessageDlg.h"
#include "RecordCsvExport.h"
#include "RecordExport.h"
#include "RecordListRows.h"
#include "RecordPageText.h"
#include "SensorDataFile.h"
#include "SetExpDlg.h"

namespace orsan {

namespace {

const QString kNoRowsText = QStringLiteral("该时间段内没有记录数据");
const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QDateTime LocalSeconds(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime);
}

}  // namespace

RecordHistoryMode::RecordHistoryMode(QWidget* page, RecordDatabase& database, QTableWidget* list,
                                     const QString& desktopDir,
                                     std::initializer_list<QWidget*> newestOnly)
    : QObject(page),
      page_(page),
      database_(database),
      list_(list),
      desktopDir_(desktopDir),
      clock_([] { return QDateTime::currentSecsSinceEpoch(); }),
      pager_(database, kRecordsPerPage),
      newestOnly_(newestOnly) {
    Build(page);
}

void RecordHistoryMode::Build(QWidget* page) {
    const DialogUnits units(page->font());
    const auto place = [&](QWidget* widget, QRect dlu, int id, bool historyOnly = true) {
        widget->setGeometry(units.Rect(dlu.x(), dlu.y(), dlu.width(), dlu.height()));
        if (id != 0) widget->setObjectName(QStringLiteral("id%1").arg(id));
        if (historyOnly) {
            historyOnly_.push_back(widget);
            widget->hide();
        }
        return widget;
    };
    const auto button = [&](const QString& text, QRect dlu, int id,
                            void (RecordHistoryMode::*slot)()) {
        auto* b = new QPushButton(text, page);
        b->setAutoDefault(false);
        place(b, dlu, id);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    const auto editor = [&](QRect dlu, int id) {
        auto* edit = new QDateTimeEdit(page);
        edit->setDisplayFormat(kTimeFormat);
        edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
        edit->setDateTime(LocalSeconds(clock_()));
        place(edit, dlu, id);
        return edit;
    };

    place(new QLabel(QStringLiteral("从"), page), QRect(149, 3, 8, 8), 0);
    fromEdit_ = editor(QRect(158, 2, 74, 10), kFromId);
    place(new QLabel(QStringLiteral("到"), page), QRect(235, 3, 8, 8), 0);
    toEdit_ = editor(QRect(244, 2, 74, 10), kToId);
    quick_ = new QComboBox(page);
    quick_->addItems({QStringLiteral("最近1小时"), QStringLiteral("最近24小时"),
                      QStringLiteral("最近7天"), QStringLiteral("全部")});
    quick_->setCurrentIndex(All);
    place(quick_, QRect(321, 2, 48, 10), kQuickId);
    connect(quick_, &QComboBox::activated, this, [this](int index) { ApplyQuick(Quick(index)); });
    button(QStringLiteral("查询"), QRect(372, 2, 24, 10), kApplyId, &RecordHistoryMode::Apply);
    button(QStringLiteral("曲线"), QRect(399, 2, 24, 10), kChartId, &RecordHistoryMode::ShowChart)
        ->setToolTip(QStringLiteral("画出一个传感器在该时间段内的趋势曲线"));
    button(QStringLiteral("区间导出"), QRect(426, 2, 40, 10), kExportId,
           &RecordHistoryMode::ExportRange)
        ->setToolTip(QStringLiteral("导出一个传感器在该时间段内的数据"));

    pageButtons_ = {button(QStringLiteral("首页"), QRect(3, 226, 22, 10), kFirstPageId,
                           &RecordHistoryMode::FirstPage),
                    button(QStringLiteral("上页"), QRect(27, 226, 22, 10), kPreviousPageId,
                           &RecordHistoryMode::PreviousPage),
                    button(QStringLiteral("下页"), QRect(51, 226, 22, 10), kNextPageId,
                           &RecordHistoryMode::NextPage),
                    button(QStringLiteral("末页"), QRect(75, 226, 22, 10), kLastPageId,
                           &RecordHistoryMode::LastPage)};
    pageText_ = new QLabel(page);
    place(pageText_, QRect(101, 227, 150, 8), kPageTextId);
    goToEdit_ = editor(QRect(254, 226, 74, 10), kGoToTimeId);
    button(QStringLiteral("转到"), QRect(330, 226, 24, 10), kGoToId, &RecordHistoryMode::GoToTime);
    place(new QLabel(QStringLiteral("导出格式"), page), QRect(362, 227, 30, 8), 0);
    format_ = new QComboBox(page);
    format_->addItems({QStringLiteral("文本"), QStringLiteral("CSV")});
    place(format_, QRect(394, 226, 34, 10), kFormatId);

    toggle_ = new QPushButton(QStringLiteral("历史记录"), page);
    toggle_->setAutoDefault(false);
    toggle_->setToolTip(QStringLiteral("按时间段查看、绘制和导出以前记录的数据"));
    place(toggle_, QRect(470, 226, 74, 10), kToggleId, false);
    connect(toggle_, &QPushButton::clicked, this, [this] { SetActive(!active_); });
}

void RecordHistoryMode::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    for (QWidget* widget : newestOnly_) widget->setVisible(!active);
    for (QWidget* widget : historyOnly_) widget->setVisible(active);
    toggle_->setText(active ? QStringLiteral("返回最新记录") : QStringLiteral("历史记录"));
    if (!active) {
        emit ended();
        return;
    }
    if (everShown_)
        Requery();
    else
        ApplyQuick(All);
    everShown_ = true;
}

void RecordHistoryMode::ApplyQuick(Quick choice) {
    quick_->setCurrentIndex(choice);
    wholeRecord_ = choice == All;
    if (choice == All) {
        RecordPage newest;
        if (database_.LoadLastPage(kRecordsPerPage, &newest) && newest.count > 0) {
            fromEdit_->setDateTime(LocalSeconds(newest.firstTime));
            toEdit_->setDateTime(LocalSeconds(newest.lastTime));
        }
        ShowPage(pager_.SetRange(RecordRange::All()));
        return;
    }
    static constexpr qint64 kSpans[] = {3600, 24 * 3600, 7 * 24 * 3600};
    const qint64 now = clock_();
    fromEdit_->setDateTime(LocalSeconds(now - kSpans[choice]));
    toEdit_->setDateTime(LocalSeconds(now));
    ShowPage(pager_.SetRange(EditorRange()));
}

RecordRange RecordHistoryMode::EditorRange() const {
    return RecordRange::Between(fromEdit_->dateTime().toSecsSinceEpoch() * 1000,
                                toEdit_->dateTime().toSecsSinceEpoch() * 1000 + 999);
}

void RecordHistoryMode::Apply() {
    const RecordRange range = EditorRange();
    if (range.IsEmpty()) {
        ShowMessage(QStringLiteral("开始时间晚于结束时间，请重新选择时间段。"));
        return;
    }
    wholeRecord_ = false;
    ShowPage(pager_.SetRange(range));
}

void RecordHistoryMode::Requery() {
    const RangePage& shown = pager_.Page();
    const bool wasFirst = shown.rows.empty() || shown.startIndex == 0;
    const qint64 firstShown =
        wasFirst ? 0 : RowTimeMs(shown.rows.front().time, shown.rows.front().milliseconds);
    const RecordRange range = wholeRecord_ ? RecordRange::All() : pager_.Range();
    if (!pager_.SetRange(range)) return ShowPage(false);
    // Back to the page that holds the row shown first before.
    ShowPage(wasFirst || pager_.GoTo(firstShown));
}

void RecordHistoryMode::FirstPage() {
    ShowPage(pager_.First());
}

void RecordHistoryMode::PreviousPage() {
    ShowPage(pager_.Previous());
}

void RecordHistoryMode::NextPage() {
    ShowPage(pager_.Next());
}

void RecordHistoryMode::LastPage() {
    ShowPage(pager_.Last());
}

void RecordHistoryMode::GoToTime() {
    const qint64 second = goToEdit_->dateTime().toSecsSinceEpoch();
    // "All" reaches as far as the rows do.
    RecordRange range = pager_.Range();
    if (wholeRecord_ && !RowBounds(&range)) {
        ShowMessage(kNoRowsText);
        return;
    }
    const qint64 firstSecond = FloorSeconds(range.fromMs);
    const qint64 lastSecond = FloorSeconds(range.toMs);
    if (second < firstSecond || second > lastSecond) {
        ShowMessage(QStringLiteral("要转到的时间 %1 不在所选的时间段（%2 至 %3）内。")
                        .arg(LocalSeconds(second).toString(kTimeFormat),
                             LocalSeconds(firstSecond).toString(kTimeFormat),
                             LocalSeconds(lastSecond).toString(kTimeFormat)));
        return;
    }
    const bool ok = pager_.GoTo(second * 1000);
    ShowPage(ok);
    if (!ok) return;
    // The row found: the first at or after the time, else the range's last.
    const std::vector<StoredRecord>& rows = pager_.Page().rows;
    if (rows.empty()) return;
    const auto found = std::find_if(rows.begin(), rows.end(), [&](const StoredRecord& row) {
        return RowTimeMs(row.time, row.milliseconds) >= second * 1000;
    });
    const int row = int(found == rows.end() ? rows.size() - 1 : found - rows.begin());
    // Current on its time cell: the list keeps its sideways position.
    list_->selectionModel()->setCurrentIndex(
        list_->model()->index(row, 1),
        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void RecordHistoryMode::ShowPage(bool ok) {
    if (!ok) {
        list_->setRowCount(0);
        pageText_->setText(QStringLiteral("读取记录数据失败"));
        ShowMessage(QStringLiteral("读取记录数据失败。\n") + pager_.LastDiagnostic());
        return;
    }
    const RangePage& page = pager_.Page();
    list_->clearSelection();
    ShowRecordRows(list_, page.startIndex, page.rows);
    if (page.count == 0)
        pageText_->setText(kNoRowsText);
    else
        pageText_->setText(QStringLiteral("第 %1/%2 页，共 %3 条")
                               .arg(pager_.PageNumber())
                               .arg(pager_.PageCount())
                               .arg(page.count));
    const bool notFirst = page.startIndex > 0;
    const bool notLast = pager_.PageNumber() < pager_.PageCount();
    pageButtons_[0]->setEnabled(notFirst);
    pageButtons_[1]->setEnabled(notFirst);
    pageButtons_[2]->setEnabled(notLast);
    pageButtons_[3]->setEnabled(notLast);
}

bool RecordHistoryMode::RowBounds(RecordRange* bounds) {
    const RecordRange range = pager_.Range();
    QSqlQuery query(database_.Connection());
    query.setForwardOnly(true);
    if (!query.prepare(QStringLiteral("SELECT (SELECT Time*1000+msTime FROM data WHERE %1 "
                                      "ORDER BY Time, rowid LIMIT 1), (SELECT Time*1000+msTime "
                                      "FROM data WHERE %1 ORDER BY Time DESC, rowid DESC LIMIT 1)")
                           .arg(RangeCondition())))
        return false;
    BindRange(query, range, 0);
    BindRange(query, range, 4);
    if (!query.exec() || !query.next() || query.value(0).isNull()) return false;
    *bounds = RecordRange::Between(query.value(0).toLongLong(), query.value(1).toLongLong());
    return true;
}

void RecordHistoryMode::ShowChart() {
    if (pager_.Page().count == 0) {
        ShowMessage(kNoRowsText);
        return;
    }
    SetExpDlg chooser(page_);
    chooser.setWindowTitle(QStringLiteral("选择要绘制曲线的传感器"));
    if (chooser.exec() != QDialog::Accepted) return;
    const int sensor = chooser.SelectedSensor();
    // "All" spans the rows themselves; a chosen range is drawn as chosen,
    // so hours without rows show as such.
    RecordRange range = pager_.Range();
    if (wholeRecord_ && !RowBounds(&range)) {
        ShowMessage(kNoRowsText);
        return;
    }
    ChartSettings settings;
    settings.showFlags.fill(1);
    if (!chartIniPath_.isEmpty()) settings = LoadChartSettings(INIFILE(chartIniPath_), sensor);
    HistoryChartDlg dialog(database_, sensor, range, settings.limits, settings.showFlags, names_,
                           desktopDir_, page_);
    dialog.exec();
}

void RecordHistoryMode::ExportRange() {
    SetExpDlg chooser(page_);
    if (chooser.exec() != QDialog::Accepted) return;
    const QString path = ExportRangeTo(chooser.SelectedSensor(), desktopDir_);
    if (!path.isEmpty()) OpenWithDesktop(path);
}

QString RecordHistoryMode::ExportRangeTo(int sensor, const QString& folder) {
    const bool csv = format_->currentIndex() == 1;
    const QDateTime now = QDateTime::currentDateTime();
    const QString machine =
        sensor >= 1 && sensor <= kSensorCount ? names_[size_t(sensor - 1)] : QString();
    const QString path = csv ? SensorCsvFileName(folder, sensor, now, machine)
                             : SensorDataFileName(folder, sensor, now, machine);
    const RecordRange range = wholeRecord_ ? RecordRange::All() : pager_.Range();
    const RecordExportResult result = csv ? ExportSensorCsv(database_, sensor, range, path)
                                          : ExportSensorRecords(database_, sensor, path, range);
    switch (result.status) {
        case RecordExportResult::Status::Written:
            return path;
        case RecordExportResult::Status::Empty:
            ShowMessage(kNoRowsText + QStringLiteral("，未生成文件。"));
            return QString();
        case RecordExportResult::Status::Failed:
            break;
    }
    ShowMessage(QStringLiteral("导出数据失败，未生成文件。\n") + result.error);
    return QString();
}

}  // namespace orsan
