#pragma once

#include <QDate>
#include <QObject>
#include <QString>
#include <functional>
#include <initializer_list>
#include <vector>

#include "FixedTexts.h"
#include "RecordPager.h"
#include "RecordRange.h"
#include "SensorNames.h"

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QPushButton;
class QTableWidget;
class QWidget;

namespace orsan {

// The record page's history mode. "历史记录" switches the page from the
// newest rows to a chosen time range (from/to editors, or the quick choices
// last hour, last 24 hours, last 7 days, all), paged through 22 rows at a
// time in the same list ("首页", "上页", "下页", "末页", "转到" a time). From
// there one sensor's rows of the range are plotted ("曲线") or exported
// ("区间导出", as the sensor data text file or CSV), and "日报" writes the
// daily report of a day. The to-editor's second
// is included whole.
class RecordHistoryMode : public QObject {
    Q_OBJECT
public:
    static constexpr int kToggleId = 1200;
    static constexpr int kFromId = 1201;
    static constexpr int kToId = 1202;
    static constexpr int kQuickId = 1203;
    static constexpr int kApplyId = 1204;
    static constexpr int kChartId = 1205;
    static constexpr int kFormatId = 1206;
    static constexpr int kExportId = 1207;
    static constexpr int kFirstPageId = 1210;
    static constexpr int kPreviousPageId = 1211;
    static constexpr int kNextPageId = 1212;
    static constexpr int kLastPageId = 1213;
    static constexpr int kPageTextId = 1214;
    static constexpr int kGoToTimeId = 1215;
    static constexpr int kGoToId = 1216;
    static constexpr int kDailyReportId = 1217;

    enum Quick { LastHour = 0, LastDay = 1, LastWeek = 2, All = 3 };
    using Clock = std::function<qint64()>;  // calendar seconds

    // Builds its controls on the page (hidden until the mode starts);
    // `newestOnly` are the page's controls that the mode hides meanwhile.
    RecordHistoryMode(QWidget* page, RecordDatabase& database, QTableWidget* list,
                      const QString& desktopDir, std::initializer_list<QWidget*> newestOnly);

    void SetChartIniPath(const QString& path) { chartIniPath_ = path; }
    // Machine names for the export file names and the history chart.
    void SetSensorNames(const SensorNames& names) { names_ = names; }
    void SetClock(Clock clock) { clock_ = std::move(clock); }
    // What "日报" does, given the from-editor's day; the button stays
    // disabled without it.
    void SetDailyReportAction(std::function<void(QDate)> action);

    bool IsActive() const { return active_; }
    void SetActive(bool active);

    // Sets the editors for a quick choice and shows its first page.
    void ApplyQuick(Quick choice);
    // Shows the first page of the editors' range.
    void Apply();
    // Counts the shown range again (rows were added or cleared) and shows
    // the page holding the row shown first before.
    void Requery();
    void FirstPage();
    void PreviousPage();
    void NextPage();
    void LastPage();
    void GoToTime();
    // Sensor chooser, then the history chart of the range.
    void ShowChart();
    // Sensor chooser, then the range's rows on the desktop in the chosen format.
    void ExportRange();
    // The file an export of sensor writes; empty with the reason shown
    // when it failed or the range holds no row.
    QString ExportRangeTo(int sensor, const QString& folder);

    const RecordPager& Pager() const { return pager_; }
    QDateTimeEdit* FromEdit() const { return fromEdit_; }
    QDateTimeEdit* ToEdit() const { return toEdit_; }
    QDateTimeEdit* GoToEdit() const { return goToEdit_; }
    QComboBox* FormatChoice() const { return format_; }
    QLabel* PageText() const { return pageText_; }
    // Captions, choices, tool tips and the page line in the language
    // installed (the page calls it: the mode is no widget).
    void RetranslateTexts();

signals:
    // The mode was left: the page shows its newest rows again.
    void ended();

private:
    void Build(QWidget* page);
    void ShowPage(bool ok);
    void ShowPageText();
    void PlaceRangeRow();
    RecordRange EditorRange() const;
    // The first and last row time of the shown range; false when it holds none.
    bool RowBounds(RecordRange* bounds);

    QWidget* page_;
    RecordDatabase& database_;
    QTableWidget* list_;
    QString desktopDir_;
    QString chartIniPath_;
    SensorNames names_;
    Clock clock_;
    std::function<void(QDate)> dailyReport_;
    QPushButton* dailyReportButton_ = nullptr;
    RecordPager pager_;
    bool active_ = false;
    bool everShown_ = false;
    bool pageFailed_ = false;
    bool wholeRecord_ = false;  // "all": the range follows the table's ends
    std::vector<QWidget*> newestOnly_;
    std::vector<QWidget*> historyOnly_;
    QPushButton* toggle_ = nullptr;
    QDateTimeEdit* fromEdit_ = nullptr;
    QDateTimeEdit* toEdit_ = nullptr;
    QDateTimeEdit* goToEdit_ = nullptr;
    QComboBox* quick_ = nullptr;
    QComboBox* format_ = nullptr;
    QLabel* pageText_ = nullptr;
    std::vector<QPushButton*> pageButtons_;  // first, previous, next, last
    // The range row's controls with their Chinese and English places (DLU).
    struct RowPlace {
        QWidget* widget;
        QRect chinese;
        QRect english;
    };
    std::vector<RowPlace> rangeRow_;
    FixedTexts texts_{this};
};

}  // namespace orsan
