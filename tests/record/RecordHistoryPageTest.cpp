#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>

#include "DatabaseLogDlg.h"
#include "HistoryChartDlg.h"
#include "HistoryChartView.h"
#include "MessageHook.h"
#include "RecordDatabase.h"
#include "RecordHistoryMode.h"
#include "RecordTestSupport.h"

namespace orsan {
namespace {

using test::FillRows;
using test::ReadAll;

constexpr qint64 kFirstSecond = 1796605805;  // 2026-12-07 09:10:05 at +08:00

QDateTime Local(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime);
}

class RecordHistoryPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dataDir_.isValid());
        ASSERT_TRUE(desktop_.isValid());
        ASSERT_TRUE(db_.Open(dataDir_.path()));
        ASSERT_TRUE(FillRows(db_, 100, kFirstSecond * 1000, 1000));  // one a second
        db_.Open(dataDir_.path());  // forget any count kept before the fill
    }
    template <typename T>
    T* Child(QWidget& page, int id) {
        T* child = page.findChild<T*>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(child, nullptr) << "id" << id;
        return child;
    }
    QString Cell(QWidget& page, int row, int column) {
        QTableWidgetItem* item =
            Child<QTableWidget>(page, DatabaseLogDlg::kListId)->item(row, column);
        return item ? item->text() : QString();
    }
    QString PageText(QWidget& page) {
        return Child<QLabel>(page, RecordHistoryMode::kPageTextId)->text();
    }
    void Click(QWidget& page, int id) { Child<QPushButton>(page, id)->click(); }

    QTemporaryDir dataDir_;
    QTemporaryDir desktop_;
    RecordDatabase db_;
};

TEST_F(RecordHistoryPageTest, PagesThroughTheWholeRecordAndBack) {
    DatabaseLogDlg page(db_, desktop_.path());
    page.show();
    EXPECT_EQ(Cell(page, 0, 0), "89");  // newest rows: the last page of 22
    auto* newestCount = Child<QLabel>(page, DatabaseLogDlg::kCountId);
    Click(page, RecordHistoryMode::kToggleId);
    ASSERT_TRUE(page.History()->IsActive());
    EXPECT_FALSE(newestCount->isVisible());
    EXPECT_TRUE(Child<QPushButton>(page, RecordHistoryMode::kNextPageId)->isVisible());

    const struct {
        int button;
        const char* firstNumber;
        const char* firstStamp;
        const char* text;
    } steps[] = {
        {0, "1", "2026-12-07 09:10:05.000", "第 1/5 页，共 100 条"},
        {RecordHistoryMode::kNextPageId, "23", "2026-12-07 09:10:27.000", "第 2/5 页，共 100 条"},
        {RecordHistoryMode::kLastPageId, "89", "2026-12-07 09:11:33.000", "第 5/5 页，共 100 条"},
        {RecordHistoryMode::kPreviousPageId, "67", "2026-12-07 09:11:11.000",
         "第 4/5 页，共 100 条"},
        {RecordHistoryMode::kFirstPageId, "1", "2026-12-07 09:10:05.000", "第 1/5 页，共 100 条"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.text);
        if (step.button != 0) Click(page, step.button);
        EXPECT_EQ(Cell(page, 0, 0), step.firstNumber);
        EXPECT_EQ(Cell(page, 0, 1), step.firstStamp);
        EXPECT_EQ(PageText(page), step.text);
    }
    EXPECT_FALSE(Child<QPushButton>(page, RecordHistoryMode::kPreviousPageId)->isEnabled());

    // Go to 09:11:00: row 56, on the third page.
    page.History()->GoToEdit()->setDateTime(Local(kFirstSecond + 55));
    Click(page, RecordHistoryMode::kGoToId);
    EXPECT_EQ(Cell(page, 0, 0), "45");
    EXPECT_EQ(Cell(page, 11, 1), "2026-12-07 09:11:00.000");

    // A write meanwhile leaves the history page alone; leaving shows the newest rows.
    page.StartRecording();
    page.WriteRecord(test::PatternRow(int32_t(kFirstSecond + 100), 0, 1));
    EXPECT_EQ(Cell(page, 0, 0), "45");
    Click(page, RecordHistoryMode::kToggleId);
    EXPECT_FALSE(page.History()->IsActive());
    EXPECT_TRUE(newestCount->isVisible());
    EXPECT_EQ(newestCount->text(), "101");
    EXPECT_EQ(Cell(page, 12, 0), "101");

    // Back in history mode: the same page, the new row counted.
    Click(page, RecordHistoryMode::kToggleId);
    EXPECT_EQ(Cell(page, 0, 0), "45");
    EXPECT_EQ(PageText(page), "第 3/5 页，共 101 条");
}

TEST_F(RecordHistoryPageTest, EditorsAndQuickChoicesSetTheRange) {
    DatabaseLogDlg page(db_, desktop_.path());
    RecordHistoryMode& history = *page.History();
    history.SetClock([] { return kFirstSecond + 99 + 1800; });  // half an hour after the last row
    history.SetActive(true);

    // The to-editor's second counts whole.
    history.FromEdit()->setDateTime(Local(kFirstSecond + 10));
    history.ToEdit()->setDateTime(Local(kFirstSecond + 20));
    Click(page, RecordHistoryMode::kApplyId);
    EXPECT_EQ(PageText(page), "第 1/1 页，共 11 条");
    EXPECT_EQ(Cell(page, 10, 1), "2026-12-07 09:10:25.000");

    history.ApplyQuick(RecordHistoryMode::LastHour);
    EXPECT_EQ(history.FromEdit()->dateTime().toSecsSinceEpoch(), kFirstSecond + 99 + 1800 - 3600);
    EXPECT_EQ(PageText(page), "第 1/5 页，共 100 条");
    history.SetClock([] { return kFirstSecond + 99 + 7200; });
    history.ApplyQuick(RecordHistoryMode::LastHour);
    EXPECT_EQ(PageText(page), "该时间段内没有记录数据");
    EXPECT_EQ(Cell(page, 0, 0), " ");

    ScopedMessageHook hook;
    history.FromEdit()->setDateTime(Local(kFirstSecond + 30));
    history.ToEdit()->setDateTime(Local(kFirstSecond + 20));
    Click(page, RecordHistoryMode::kApplyId);
    ASSERT_EQ(hook.Messages().size(), 1);
    EXPECT_TRUE(hook.Messages()[0].startsWith("开始时间晚于结束时间"));
}

TEST_F(RecordHistoryPageTest, ExportsTheRangeInTheChosenFormat) {
    DatabaseLogDlg page(db_, desktop_.path());
    RecordHistoryMode& history = *page.History();
    history.SetActive(true);
    history.FromEdit()->setDateTime(Local(kFirstSecond + 10));
    history.ToEdit()->setDateTime(Local(kFirstSecond + 14));
    history.Apply();
    const struct {
        int format;
        const char* suffix;
        const char* firstLine;
    } cases[] = {{0, ".txt", "TimeStamp"}, {1, ".csv", "time,T_Shell,"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.suffix);
        QTemporaryDir out;
        history.FormatChoice()->setCurrentIndex(c.format);
        const QString path = history.ExportRangeTo(3, out.path());
        ASSERT_TRUE(path.endsWith(c.suffix)) << path.toStdString();
        const QList<QByteArray> lines = ReadAll(path).split('\n');
        EXPECT_TRUE(lines[0].startsWith(c.firstLine));
        EXPECT_TRUE(lines[1].startsWith("2026-12-07")) << lines[1].constData();
        EXPECT_TRUE(lines[5].startsWith(c.format == 1 ? "2026-12-07T09:10:19.000+08:00"
                                                      : "2026-12-07 09:10:19.000"));
        EXPECT_EQ(lines.size(), c.format == 1 ? 7 : 8);  // header, 5 rows, (empty line,) end
    }
    ScopedMessageHook hook;
    history.FromEdit()->setDateTime(Local(kFirstSecond - 100));
    history.ToEdit()->setDateTime(Local(kFirstSecond - 50));
    history.Apply();
    QTemporaryDir out;
    EXPECT_TRUE(history.ExportRangeTo(3, out.path()).isEmpty());
    EXPECT_TRUE(QDir(out.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
    ASSERT_EQ(hook.Messages().size(), 1);
    EXPECT_TRUE(hook.Messages()[0].startsWith("该时间段内没有记录数据"));
}

TEST_F(RecordHistoryPageTest, ChartDialogDrawsTheRangeAndZoomsBack) {
    TrendLimits limits;
    limits.TMin = 0;
    limits.TMax = 100;
    std::array<int, kCurveCount> curves;
    curves.fill(1);
    HistoryChartDlg dialog(db_, 2,
                           RecordRange::Between(kFirstSecond * 1000, (kFirstSecond + 99) * 1000),
                           limits, curves, desktop_.path());
    dialog.show();
    QApplication::processEvents();
    HistoryChart& chart = dialog.View()->Chart();
    EXPECT_EQ(chart.Reduction().RowCount(), 100);
    auto* zoomOut = Child<QPushButton>(dialog, HistoryChartDlg::kZoomOutId);
    EXPECT_FALSE(zoomOut->isEnabled());
    EXPECT_TRUE(Child<QLabel>(dialog, HistoryChartDlg::kRangeTextId)->text().contains("共 100 条"));

    const EdgeRect plot = chart.Layout().plotRect;
    QString error;
    ASSERT_TRUE(chart.ZoomToPixels(plot.left, plot.left + plot.Width() / 2, &error));
    EXPECT_LT(chart.Reduction().RowCount(), 60);
    emit dialog.View()->changed();
    EXPECT_TRUE(zoomOut->isEnabled());
    zoomOut->click();
    EXPECT_EQ(chart.Reduction().RowCount(), 100);

    // The readout reads the database: the row nearest 09:10:45.4 is 09:10:45.
    const int x = TimeToX(kFirstSecond + 40.4, chart.Range(), plot);
    ASSERT_TRUE(chart.ReadoutAt(QPoint(x, plot.top + 10), &error));
    ASSERT_TRUE(chart.ReadoutRow());
    EXPECT_EQ(chart.ReadoutRow()->time, kFirstSecond + 40);
    EXPECT_FLOAT_EQ(chart.ReadoutRow()->T_Shell, 4.0f + 2);  // (40 % 100000) / 10 + slot

    const QString picture = dialog.ExportPicture();
    ASSERT_FALSE(picture.isEmpty());
    EXPECT_EQ(QImage(picture).size(), chart.Image().size());

    const QString grabs = qEnvironmentVariable("ORSAN_GRAB_DIR");
    if (!grabs.isEmpty()) {
        QDir().mkpath(grabs);
        dialog.grab().save(grabs + "/history_chart.png");
        DatabaseLogDlg page(db_, desktop_.path());
        page.History()->SetActive(true);
        page.show();
        QApplication::processEvents();
        page.grab().save(grabs + "/record_history_page.png");
    }
}

}  // namespace
}  // namespace orsan
