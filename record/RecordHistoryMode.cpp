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
#include "Language.h"
#include "MessageDlg.h"
#include "RecordCsvExport.h"
#include "RecordExport.h"
#include "RecordListRows.h"
#include "RecordPageText.h"
#include "SensorDataFile.h"
#include "SetExpDlg.h"

namespace orsan {

namespace {

const char* const kNoRowsText =
    QT_TRANSLATE_NOOP("orsan::RecordHistoryMode", "该时间段内没有记录数据");
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
    const auto button = [&](const char* text, QRect dlu, int id,
                            void (RecordHistoryMode::*slot)()) {
        auto* b = texts_.Set(new QPushButton(page), text);
        b->setAutoDefault(false);
        place(b, dlu, id);
        if (slot) connect(b, &QPushButton::clicked, this, slot);
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

    // English needs the "From" caption and a longer range export caption;
    // slightly narrower editors and choice make their room.
    const auto inRow = [&](QWidget* widget, QRect chinese, QRect english) {
        rangeRow_.push_back({widget, chinese, english});
        return widget;
    };
    place(inRow(texts_.Set(new QLabel(page), QT_TR_NOOP("从")), QRect(149, 3, 8, 8),
                QRect(146, 3, 17, 8)),
          QRect(149, 3, 8, 8), 0);
    fromEdit_ = editor(QRect(158, 2, 74, 10), kFromId);
    inRow(fromEdit_, QRect(158, 2, 74, 10), QRect(164, 2, 70, 10));
    place(inRow(texts_.Set(new QLabel(page), QT_TR_NOOP("到")), QRect(235, 3, 8, 8),
                QRect(235, 3, 8, 8)),
          QRect(235, 3, 8, 8), 0);
    toEdit_ = editor(QRect(244, 2, 74, 10), kToId);
    inRow(toEdit_, QRect(244, 2, 74, 10), QRect(244, 2, 70, 10));
    quick_ = new QComboBox(page);
    quick_->addItems({QString(), QString(), QString(), QString()});
    quick_->setCurrentIndex(All);
    place(inRow(quick_, QRect(321, 2, 48, 10), QRect(315, 2, 47, 10)), QRect(321, 2, 48, 10),
          kQuickId);
    connect(quick_, &QComboBox::activated, this, [this](int index) { ApplyQuick(Quick(index)); });
    inRow(button(QT_TR_NOOP("查询"), QRect(372, 2, 24, 10), kApplyId, &RecordHistoryMode::Apply),
          QRect(372, 2, 24, 10), QRect(364, 2, 24, 10));
    texts_.Set(inRow(button(QT_TR_NOOP("曲线"), QRect(399, 2, 24, 10), kChartId,
                            &RecordHistoryMode::ShowChart),
                     QRect(399, 2, 24, 10), QRect(390, 2, 24, 10)),
               nullptr, QT_TR_NOOP("画出一个传感器在该时间段内的趋势曲线"));
    texts_.Set(inRow(button(QT_TR_NOOP("区间导出"), QRect(426, 2, 40, 10), kExportId,
                            &RecordHistoryMode::ExportRange),
                     QRect(426, 2, 40, 10), QRect(416, 2, 50, 10)),
               nullptr, QT_TR_NOOP("导出一个传感器在该时间段内的数据"));

    pageButtons_ = {button(QT_TR_NOOP("首页"), QRect(3, 226, 22, 10), kFirstPageId,
                           &RecordHistoryMode::FirstPage),
                    button(QT_TR_NOOP("上页"), QRect(27, 226, 22, 10), kPreviousPageId,
                           &RecordHistoryMode::PreviousPage),
                    button(QT_TR_NOOP("下页"), QRect(51, 226, 22, 10), kNextPageId,
                           &RecordHistoryMode::NextPage),
                    button(QT_TR_NOOP("末页"), QRect(75, 226, 22, 10), kLastPageId,
                           &RecordHistoryMode::LastPage)};
    pageText_ = new QLabel(page);
    place(pageText_, QRect(101, 227, 150, 8), kPageTextId);
    goToEdit_ = editor(QRect(254, 226, 74, 10), kGoToTimeId);
    button(QT_TR_NOOP("转到"), QRect(330, 226, 24, 10), kGoToId, &RecordHistoryMode::GoToTime);
    place(texts_.Set(new QLabel(page), QT_TR_NOOP("导出格式")), QRect(362, 227, 30, 8), 0);
    format_ = new QComboBox(page);
    format_->addItems({QString(), QStringLiteral("CSV")});
    place(format_, QRect(394, 226, 34, 10), kFormatId);
    dailyReportButton_ =
        texts_.Set(button(QT_TR_NOOP("日报"), QRect(432, 226, 34, 10), kDailyReportId, nullptr),
                   nullptr, QT_TR_NOOP("生成一天的设备运行日报（PDF）"));
    dailyReportButton_->setEnabled(false);
    connect(dailyReportButton_, &QPushButton::clicked, this, [this] {
        if (dailyReport_) dailyReport_(fromEdit_->date());
    });

    toggle_ = texts_.Set(new QPushButton(page), nullptr,
                         QT_TR_NOOP("按时间段查看、绘制和导出以前记录的数据"));
    toggle_->setAutoDefault(false);
    place(toggle_, QRect(470, 226, 74, 10), kToggleId, false);
    connect(toggle_, &QPushButton::clicked, this, [this] { SetActive(!active_); });
    RetranslateTexts();
}

void RecordHistoryMode::PlaceRangeRow() {
    const DialogUnits units(page_->font());
    const bool english = IsEnglishShown();
    for (const RowPlace& p : rangeRow_) {
        const QRect dlu = english ? p.english : p.chinese;
        p.widget->setGeometry(units.Rect(dlu.x(), dlu.y(), dlu.width(), dlu.height()));
    }
}

void RecordHistoryMode::RetranslateTexts() {
    texts_.Retranslate();
    PlaceRangeRow();
    static const char* const kQuickTexts[] = {QT_TR_NOOP("最近1小时"), QT_TR_NOOP("最近24小时"),
                                              QT_TR_NOOP("最近7天"), QT_TR_NOOP("全部")};
    for (int i = 0; i < quick_->count(); ++i) quick_->setItemText(i, tr(kQuickTexts[i]));
    format_->setItemText(0, tr("文本"));
    toggle_->setText(active_ ? tr("返回最新记录") : tr("历史记录"));
    if (active_) ShowPageText();
}

void RecordHistoryMode::SetDailyReportAction(std::function<void(QDate)> action) {
    dailyReport_ = std::move(action);
    dailyReportButton_->setEnabled(bool(dailyReport_));
}

void RecordHistoryMode::SetActive(bool active) {
    if (active == active_) return;
    active_ = active;
    for (QWidget* widget : newestOnly_) widget->setVisible(!active);
    for (QWidget* widget : historyOnly_) widget->setVisible(active);
    toggle_->setText(active ? tr("返回最新记录") : tr("历史记录"));
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
        ShowMessage(tr("开始时间晚于结束时间，请重新选择时间段。"));
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
        ShowMessage(tr(kNoRowsText));
        return;
    }
    const qint64 firstSecond = FloorSeconds(range.fromMs);
    const qint64 lastSecond = FloorSeconds(range.toMs);
    if (second < firstSecond || second > lastSecond) {
        ShowMessage(tr("要转到的时间 %1 不在所选的时间段（%2 至 %3）内。")
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

void RecordHistoryMode::ShowPageText() {
    const int count = pager_.Page().count;
    if (pageFailed_)
        pageText_->setText(tr("读取记录数据失败"));
    else if (count == 0)
        pageText_->setText(tr(kNoRowsText));
    else
        pageText_->setText(tr("第 %1/%2 页，共 %3 条")
                               .arg(pager_.PageNumber())
                               .arg(pager_.PageCount())
                               .arg(count));
}

void RecordHistoryMode::ShowPage(bool ok) {
    pageFailed_ = !ok;
    if (!ok) {
        list_->setRowCount(0);
        ShowPageText();
        ShowMessage(tr("读取记录数据失败。\n") + pager_.LastDiagnostic());
        return;
    }
    const RangePage& page = pager_.Page();
    list_->clearSelection();
    ShowRecordRows(list_, page.startIndex, page.rows);
    ShowPageText();
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
        ShowMessage(tr(kNoRowsText));
        return;
    }
    SetExpDlg chooser(page_);
    chooser.SetSensorNames(names_);
    chooser.setWindowTitle(tr("选择要绘制曲线的传感器"));
    if (chooser.exec() != QDialog::Accepted) return;
    const int sensor = chooser.SelectedSensor();
    // "All" spans the rows themselves; a chosen range is drawn as chosen,
    // so hours without rows show as such.
    RecordRange range = pager_.Range();
    if (wholeRecord_ && !RowBounds(&range)) {
        ShowMessage(tr(kNoRowsText));
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
    chooser.SetSensorNames(names_);
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
            ShowMessage(tr(kNoRowsText) + tr("，未生成文件。"));
            return QString();
        case RecordExportResult::Status::Failed:
            break;
    }
    ShowMessage(tr("导出数据失败，未生成文件。\n") + result.error);
    return QString();
}

}  // namespace orsan
