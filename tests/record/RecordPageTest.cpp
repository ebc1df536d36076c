#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cmath>
#include <tuple>

#include "DatabaseLogDlg.h"
#include "DesktopShell.h"
#include "DxAlarmStatic.h"
#include "FrozenColumnTable.h"
#include "HistoryChartDlg.h"
#include "HistoryChartView.h"
#include "MessageHook.h"
#include "RecordDatabase.h"
#include "RecordDatabaseShell.h"
#include "RecordHistoryMode.h"
#include "RecordHistorySource.h"
#include "RecordTestSupport.h"
#include "SetExpDlg.h"
#include "TrendLabels.h"

namespace orsan {
namespace {

using test::ExpectedThreeRowFile;
using test::FillRows;
using test::PatternRow;
using test::RawRowCount;
using test::ReadAll;
using test::WriteThreeRows;

class RecordPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dataDir_.isValid());
        ASSERT_TRUE(desktop_.isValid());
        ASSERT_TRUE(db_.Open(dataDir_.path()));
        previousOpener_ = ReplaceFileOpener([this](const QString& path) {
            opened_ << path;
            return opensFiles_;
        });
    }
    void TearDown() override { ReplaceFileOpener(previousOpener_); }

    template <typename T>
    T* Child(QWidget& page, int id) {
        T* child = page.findChild<T*>(QStringLiteral("id%1").arg(id));
        EXPECT_NE(child, nullptr) << "id" << id;
        return child;
    }
    QTableWidget* List(QWidget& page) { return Child<QTableWidget>(page, 1077); }
    QString Label(QWidget& page, int id) { return Child<QLabel>(page, id)->text(); }
    QString Cell(QWidget& page, int row, int column) {
        QTableWidgetItem* item = List(page)->item(row, column);
        return item ? item->text() : QString();
    }
    QStringList DesktopFiles() const {
        return QDir(desktop_.path()).entryList(QDir::Files | QDir::Hidden);
    }
    // Runs `action` with `onChooser` applied to the chooser once it is shown.
    void WithChooser(const std::function<void(SetExpDlg&)>& onChooser,
                     const std::function<void()>& action) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* chooser = qobject_cast<SetExpDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(chooser, nullptr);
            seen = true;
            onChooser(*chooser);
        });
        action();
        EXPECT_TRUE(seen);
    }

    QTemporaryDir dataDir_;
    QTemporaryDir desktop_;
    RecordDatabase db_;
    FileOpener previousOpener_;
    QStringList opened_;
    bool opensFiles_ = true;  // false: the desktop has no viewer
};

TEST_F(RecordPageTest, BuildsColumnsLabelsAndStartsStoppedOnAnEmptyTable) {
    DatabaseLogDlg page(db_, desktop_.path());
    QTableWidget* list = List(page);
    ASSERT_EQ(list->columnCount(), 62);
    const QString expected[][2] = {{"记录编号", "70"},   {"数据时间戳", "160"}, {"[1]T温度", "72"},
                                   {"[1]X加速度", "72"}, {"[1]Z位移", "72"},    {"[4]Y位移", "72"},
                                   {"[6]T温度", "72"},   {"[6]Z位移", "72"}};
    const int columns[] = {0, 1, 2, 3, 11, 38, 52, 61};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(list->horizontalHeaderItem(columns[i])->text(), expected[i][0]);
        EXPECT_EQ(list->columnWidth(columns[i]), expected[i][1].toInt());
    }
    EXPECT_EQ(list->rowCount(), 0);
    for (int id : {1078, 1079, 1080}) EXPECT_EQ(Label(page, id), "-");
    EXPECT_EQ(Child<QPushButton>(page, 1076)->text(), "开始记录");
    EXPECT_EQ(Child<QPushButton>(page, 1081)->text(), "停止记录");
    EXPECT_EQ(Child<QPushButton>(page, 1075)->toolTip(), "清除数据，重新记录!");
    EXPECT_EQ(Child<QPushButton>(page, 3)->toolTip(), "导出数据到文本文件中!");
    EXPECT_FALSE(Child<QPushButton>(page, 3)->icon().isNull());
    EXPECT_FALSE(Child<QPushButton>(page, 1075)->icon().isNull());
    QLabel* note = page.findChild<QLabel*>("recordNote");
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->text().startsWith("注意：因数据量大，表格里只显示最后记录的22条数据"));
    EXPECT_TRUE(note->text().endsWith("点击清空则会从新记录！"));
    EXPECT_FALSE(page.IsRecording());
}

TEST_F(RecordPageTest, StartAndStopSetLampButtonsAndRecording) {
    DatabaseLogDlg page(db_, desktop_.path());
    auto* start = Child<QPushButton>(page, 1076);
    auto* stop = Child<QPushButton>(page, 1081);
    auto* exportButton = Child<QPushButton>(page, 3);
    auto* clear = Child<QPushButton>(page, 1075);
    auto* lamp = Child<DxAlarmStatic>(page, 1083);
    struct State {
        bool recording, startEnabled, stopEnabled, exportEnabled, lampOn;
    };
    auto check = [&](const State& s) {
        EXPECT_EQ(page.IsRecording(), s.recording);
        EXPECT_EQ(start->isEnabled(), s.startEnabled);
        EXPECT_EQ(stop->isEnabled(), s.stopEnabled);
        EXPECT_EQ(exportButton->isEnabled(), s.exportEnabled);
        EXPECT_EQ(lamp->IsOn(), s.lampOn);
        EXPECT_TRUE(clear->isEnabled());
    };
    const State stopped{false, true, false, true, false};
    const State recording{true, false, true, false, true};
    check(stopped);
    start->click();
    check(recording);
    stop->click();
    check(stopped);
    start->click();
    check(recording);
}

// A database the user may only read: starting is refused with one message,
// and the rows already there still list.
TEST_F(RecordPageTest, ReadOnlyDatabaseIsNeverRecordedInto) {
    ASSERT_TRUE(db_.Insert(RecordRow{}));
    RecordDatabase readOnly;
    ASSERT_TRUE(readOnly.Open(dataDir_.path(), RecordDatabase::Mode::ExistingOnly));
    DatabaseLogDlg page(readOnly, desktop_.path());
    ScopedMessageHook hook;
    Child<QPushButton>(page, 1076)->click();
    EXPECT_FALSE(page.IsRecording());
    EXPECT_EQ(hook.Messages(), QStringList{ReadOnlyDatabaseText(readOnly.FilePath())});
    EXPECT_EQ(Label(page, 1080), "1");
}

struct ListCase {
    int rows;
    QString firstNumber;  // column 0 of list row 0
    int filled;           // list rows holding a record
    QString lastTime;     // label 1079
};

// A nearly full disk holds rows back with one message and a red line, the
// rows written stay whole, and rows resume by themselves once space is back;
// the page shows the file's size.
TEST_F(RecordPageTest, NearlyFullDiskHoldsRowsBackAndRecordingResumesByItself) {
    DatabaseLogDlg page(db_, desktop_.path());
    qint64 available = 0;
    page.SetDiskSpaceProbe([&](const QString& folder) {
        EXPECT_EQ(folder, dataDir_.path());
        return std::optional<DiskSpace>(DiskSpace{available, 1LL << 40});  // stop below 10 GB
    });
    ScopedMessageHook hook;
    page.StartRecording();
    int seed = 0;
    // Free GB, rows offered, rows in the file afterwards, status.
    const std::tuple<qint64, int, qint64, const char*> phases[] = {
        {20, 3, 3, ""}, {1, 4, 3, "磁盘空间不足"}, {12, 2, 5, "磁盘空间已恢复"}};
    for (const auto& [gigabytes, rows, stored, status] : phases) {
        available = gigabytes << 30;
        for (int i = 0; i < rows; ++i, ++seed)
            page.WriteRecord(PatternRow(1714523415 + seed, 0, seed));
        EXPECT_EQ(RawRowCount(db_.FilePath()), stored);
        EXPECT_TRUE(page.IsRecording()) << "recording stays on and goes on by itself";
        EXPECT_EQ(Child<DxAlarmStatic>(page, 1083)->IsOn(), gigabytes > 1);
        const QString opening = QString::fromUtf8(status);
        EXPECT_EQ(page.StatusText().left(opening.size()), opening);
        EXPECT_EQ(test::RawExec(db_.FilePath(), "PRAGMA integrity_check").toString(), "ok");
    }
    ASSERT_EQ(hook.Messages().size(), 1);
    EXPECT_TRUE(hook.Messages()[0].contains(dataDir_.path()));
    const qint64 bytes =
        QFileInfo(db_.FilePath()).size() + QFileInfo(db_.FilePath() + "-wal").size();
    EXPECT_TRUE(
        Child<QLabel>(page, DatabaseLogDlg::kCountId)
            ->toolTip()
            .startsWith(QStringLiteral("文件 %1 MB  ").arg(double(bytes) / 1048576.0, 0, 'f', 1)));
}

class RecordListTest : public RecordPageTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(RecordListTest, ShowsTheLastPageWithBlankRowsAndTheLabels) {
    const ListCase c = GetParam();
    for (int i = 0; i < c.rows; ++i) ASSERT_TRUE(db_.Insert(PatternRow(1714523415 + i, 7, i)));
    DatabaseLogDlg page(db_, desktop_.path());
    QTableWidget* list = List(page);
    if (c.rows == 0) {
        EXPECT_EQ(list->rowCount(), 0);
        for (int id : {1078, 1079, 1080}) EXPECT_EQ(Label(page, id), "-");
        return;
    }
    ASSERT_EQ(list->rowCount(), 22);
    EXPECT_EQ(Label(page, 1080), QString::number(c.rows));
    EXPECT_EQ(Label(page, 1078), "2024-05-01 08:30:15");
    EXPECT_EQ(Label(page, 1079), c.lastTime);
    EXPECT_EQ(Cell(page, 0, 0), c.firstNumber);
    for (int r = 0; r < 22; ++r) {
        if (r < c.filled) {
            const int position = c.firstNumber.toInt() + r;
            EXPECT_EQ(Cell(page, r, 0), QString::number(position));
            EXPECT_EQ(Cell(page, r, 1).left(17), "2024-05-01 08:30:");
            EXPECT_TRUE(Cell(page, r, 1).endsWith(".007"));
            // Slot 1 of PatternRow: base 100 + (position - 1) % 50.
            const int base = 100 + (position - 1) % 50;
            EXPECT_EQ(Cell(page, r, 2), QString("%1.1").arg(base));
            EXPECT_EQ(Cell(page, r, 3), QString("%1.01").arg(base));
            EXPECT_EQ(Cell(page, r, 5), QString("%1.3").arg(base));
        } else {
            EXPECT_EQ(Cell(page, r, 0), " ") << "row " << r;
            EXPECT_EQ(Cell(page, r, 1), "") << "row " << r;
            EXPECT_EQ(Cell(page, r, 61), "") << "row " << r;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(RowCounts, RecordListTest,
                         ::testing::Values(ListCase{0, "", 0, "-"},
                                           ListCase{1, "1", 1, "2024-05-01 08:30:15"},
                                           ListCase{22, "1", 22, "2024-05-01 08:30:36"},
                                           ListCase{23, "23", 1, "2024-05-01 08:30:37"}),
                         [](const auto& info) { return "rows" + std::to_string(info.param.rows); });

TEST_F(RecordPageTest, ListFollowsWritesEveryTickWhenSlowAndEveryThirdWhenFast) {
    DatabaseLogDlg page(db_, desktop_.path());
    page.WriteRecord(PatternRow(100, 0, 0));  // stopped: nothing
    EXPECT_EQ(RawRowCount(db_.FilePath()), 0);
    EXPECT_EQ(page.WriteCount(), 0u);

    page.StartRecording();
    page.WriteRecord(PatternRow(101, 0, 1));
    EXPECT_EQ(Label(page, 1080), "1");

    page.SetFastInterval(1);
    page.WriteRecord(PatternRow(102, 0, 2));  // attempt 2: list stays
    EXPECT_EQ(Label(page, 1080), "1");
    page.WriteRecord(PatternRow(103, 0, 3));  // attempt 3: reload
    EXPECT_EQ(Label(page, 1080), "3");
    EXPECT_EQ(Cell(page, 2, 0), "3");
    page.WriteRecord(PatternRow(104, 0, 4));
    page.WriteRecord(PatternRow(105, 0, 5));
    EXPECT_EQ(Label(page, 1080), "3");

    page.SetFastInterval(0);
    page.WriteRecord(PatternRow(106, 0, 6));
    EXPECT_EQ(Label(page, 1080), "6");
    EXPECT_EQ(page.WriteCount(), 6u);
}

TEST_F(RecordPageTest, ClearAsksFirstAndOnlyAConfirmedClearEmptiesTheTable) {
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(db_.Insert(PatternRow(1000 + i, 0, i)));
    DatabaseLogDlg page(db_, desktop_.path());
    page.StartRecording();
    {
        ScopedMessageHook hook(false);
        Child<QPushButton>(page, 1075)->click();
        EXPECT_EQ(hook.Questions(), QStringList{"请确认是否清空所有已经记录的数据"});
        EXPECT_EQ(RawRowCount(db_.FilePath()), 5);
        EXPECT_EQ(Label(page, 1080), "5");
        EXPECT_EQ(Cell(page, 4, 0), "5");
    }
    {
        ScopedMessageHook hook(true);
        Child<QPushButton>(page, 1075)->click();
        EXPECT_EQ(hook.Questions().size(), 1);
        EXPECT_TRUE(hook.Messages().isEmpty());
    }
    EXPECT_EQ(RawRowCount(db_.FilePath()), 0);
    EXPECT_EQ(List(page)->rowCount(), 0);
    EXPECT_EQ(Label(page, 1080), "-");
    EXPECT_TRUE(page.IsRecording());  // clearing keeps recording on
    page.WriteRecord(PatternRow(2000, 0, 0));
    EXPECT_EQ(Label(page, 1080), "1");
    EXPECT_EQ(Cell(page, 0, 0), "1");
}

TEST_F(RecordPageTest, FailedClearLeavesEveryRowListed) {
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(db_.Insert(PatternRow(1000 + i, 0, i)));
    DatabaseLogDlg page(db_, desktop_.path());
    test::RawExec(db_.FilePath(),
                  "CREATE TRIGGER keep BEFORE DELETE ON data WHEN old.Time = 1003 "
                  "BEGIN SELECT RAISE(ABORT, 'kept'); END");
    ScopedMessageHook hook(true);
    ::testing::internal::CaptureStderr();
    page.ClearRecords();
    const std::string diagnostic = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(diagnostic.find("data  : 删除数据出错-> "), std::string::npos);
    EXPECT_EQ(RawRowCount(db_.FilePath()), 5);
    EXPECT_EQ(Label(page, 1080), "5");
    EXPECT_EQ(Cell(page, 0, 0), "1");
    EXPECT_EQ(Cell(page, 4, 0), "5");
}

TEST_F(RecordPageTest, ExportOfSlotFourWritesTheFileOnTheDesktopAndOpensIt) {
    WriteThreeRows(db_);
    DatabaseLogDlg page(db_, desktop_.path());
    WithChooser([](SetExpDlg& chooser) { chooser.findChild<QPushButton*>("id1084")->click(); },
                [&] { Child<QPushButton>(page, 3)->click(); });
    const QStringList files = DesktopFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_TRUE(files[0].startsWith("传感器4数据")) << files[0].toStdString();
    EXPECT_EQ(opened_, QStringList{QDir(desktop_.path()).filePath(files[0])});
    EXPECT_EQ(ReadAll(QDir(desktop_.path()).filePath(files[0])), ExpectedThreeRowFile());
}

TEST_F(RecordPageTest, ExportMakesNothingWhenCancelledOrEmptyAndSaysWhenItFails) {
    DatabaseLogDlg page(db_, desktop_.path());
    // Empty table: a sensor is chosen, no file, no viewer, and it is said.
    {
        ScopedMessageHook hook;
        WithChooser([](SetExpDlg& chooser) { chooser.findChild<QPushButton*>("id1082")->click(); },
                    [&] { page.ExportRecords(); });
        EXPECT_EQ(hook.Messages(), QStringList{NothingToExportText()});
        EXPECT_TRUE(DesktopFiles().isEmpty());
    }
    WriteThreeRows(db_);
    // Closed through the close box: nothing read or written.
    WithChooser([](SetExpDlg& chooser) { chooser.close(); }, [&] { page.ExportRecords(); });
    EXPECT_TRUE(DesktopFiles().isEmpty());
    EXPECT_TRUE(opened_.isEmpty());

    // The desktop folder is gone: a message, no file, no viewer.
    ASSERT_TRUE(QDir(desktop_.path()).removeRecursively());
    ScopedMessageHook hook;
    WithChooser([](SetExpDlg& chooser) { chooser.findChild<QPushButton*>("id1081")->click(); },
                [&] { page.ExportRecords(); });
    ASSERT_EQ(hook.Messages().size(), 1);
    EXPECT_TRUE(hook.Messages()[0].startsWith("导出数据失败")) << hook.Messages()[0].toStdString();
    EXPECT_TRUE(opened_.isEmpty());
    EXPECT_TRUE(DesktopFiles().isEmpty());
}

// Pictures for a person to look at, saved into ORSAN_GRAB_DIR when set.
void SaveGrab(QWidget& widget, const QString& name, QImage* image) {
    widget.show();
    QApplication::processEvents();
    *image = widget.grab().toImage();
    ASSERT_FALSE(image->isNull());
    const QString dir = qEnvironmentVariable("ORSAN_GRAB_DIR");
    if (!dir.isEmpty()) {
        QDir().mkpath(dir);
        ASSERT_TRUE(image->save(dir + "/" + name + ".png"));
    }
}

TEST_F(RecordPageTest, GrabShowsTheLitLampAndTheNewestRows) {
    for (int i = 0; i < 27; ++i)
        ASSERT_TRUE(db_.Insert(PatternRow(1714523415 + i, i * 37 % 1000, i)));
    DatabaseLogDlg page(db_, desktop_.path());
    page.StartRecording();
    QImage image;
    SaveGrab(page, "record_page", &image);
    const QRect lamp = Child<DxAlarmStatic>(page, 1083)->geometry();
    EXPECT_EQ(QColor(image.pixel(lamp.center())), DxAlarmStatic::kOnColor);
    EXPECT_EQ(Cell(page, 4, 0), "27");
    SetExpDlg chooser;
    SaveGrab(chooser, "record_export_chooser", &image);
}

constexpr qint64 kFirstSecond = 1796605805;  // 2026-12-07 09:10:05 at +08:00

QDateTime Local(qint64 seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::LocalTime);
}

// The page over 100 rows, one a second from 09:10:05.
class RecordHistoryPageTest : public RecordPageTest {
protected:
    void SetUp() override {
        RecordPageTest::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(FillRows(db_, 100, kFirstSecond * 1000, 1000));
        db_.Open(dataDir_.path());  // forget any count kept before the fill
    }
    QString PageText(QWidget& page) {
        return Child<QLabel>(page, RecordHistoryMode::kPageTextId)->text();
    }
    void Click(QWidget& page, int id) { Child<QPushButton>(page, id)->click(); }
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

    // Go to 09:11:00: row 56, on the third page, selected.
    page.History()->GoToEdit()->setDateTime(Local(kFirstSecond + 55));
    Click(page, RecordHistoryMode::kGoToId);
    EXPECT_EQ(Cell(page, 0, 0), "45");
    EXPECT_EQ(Cell(page, 11, 1), "2026-12-07 09:11:00.000");
    const auto selected = [&] { return List(page)->selectionModel()->selectedRows(); };
    ASSERT_EQ(selected().size(), 1);
    EXPECT_EQ(selected()[0].row(), 11);
    // Outside the range, before or after its rows: said so, the page stays.
    for (const qint64 outside : {kFirstSecond - 1, kFirstSecond + 100}) {
        ScopedMessageHook hook;
        page.History()->GoToEdit()->setDateTime(Local(outside));
        Click(page, RecordHistoryMode::kGoToId);
        ASSERT_EQ(hook.Messages().size(), 1);
        EXPECT_TRUE(
            hook.Messages()[0].contains("不在所选的时间段（2026-12-07 09:10:05 至 "
                                        "2026-12-07 09:11:44）内"))
            << hook.Messages()[0].toStdString();
        EXPECT_EQ(Cell(page, 0, 0), "45");
    }

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
                           limits, curves, SensorNames{}, desktop_.path());
    dialog.show();
    QApplication::processEvents();
    HistoryChart& chart = dialog.View()->Chart();
    EXPECT_EQ(chart.Reduction().RowCount(), 100);
    // Drawn at once at the size it is shown at, not first at its first size.
    EXPECT_EQ(chart.Image().size(), dialog.View()->size());
    EXPECT_TRUE(chart.Reduction().Plot() == chart.Layout().plotRect);
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
    EXPECT_FLOAT_EQ(chart.ReadoutRow()->values[0], 4.0f + 2);  // (40 % 100000) / 10 + slot

    const QString picture = dialog.ExportPicture();
    ASSERT_FALSE(picture.isEmpty());
    EXPECT_EQ(QImage(picture).size(), chart.Image().size());

    QImage image;
    SaveGrab(dialog, "history_chart", &image);
    DatabaseLogDlg page(db_, desktop_.path());
    page.History()->SetActive(true);
    SaveGrab(page, "record_history_page", &image);
}

TEST_F(RecordHistoryPageTest, NumberAndTimeStayInViewWhileScrollingSideways) {
    DatabaseLogDlg page(db_, desktop_.path());
    page.History()->SetActive(true);
    QImage before;
    SaveGrab(page, "record_list_left", &before);
    auto* list = qobject_cast<FrozenColumnTable*>(List(page));
    ASSERT_NE(list, nullptr);

    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    QImage after;
    SaveGrab(page, "record_list_right", &after);
    ASSERT_GT(list->horizontalScrollBar()->value(), 1000);
    // The frozen band looks the same, the values beside it have moved on.
    const QRect band = list->FrozenView()->geometry().translated(list->pos());
    EXPECT_EQ(before.copy(band), after.copy(band));
    const QRect beside = band.translated(band.width(), 0);
    EXPECT_NE(before.copy(beside), after.copy(beside));

    // The row a go-to finds is selected where the list stands sideways; a
    // value is brought out from under the frozen columns.
    const int sideways = list->horizontalScrollBar()->value();
    page.History()->GoToEdit()->setDateTime(Local(kFirstSecond + 3));
    Child<QPushButton>(page, RecordHistoryMode::kGoToId)->click();
    EXPECT_EQ(list->selectionModel()->selectedRows().value(0).row(), 3);
    EXPECT_EQ(list->horizontalScrollBar()->value(), sideways);
    list->scrollTo(list->model()->index(3, 2));
    EXPECT_GE(list->visualRect(list->model()->index(3, 2)).left(), list->FrozenWidth());
}

TEST_F(RecordHistoryPageTest, StaleReadingsAndForeignCellsShowAsMissingAndGapsInTheChart) {
    QSqlQuery query(db_.Connection());
    ASSERT_TRUE(query.exec("UPDATE data SET Ok2 = 0 WHERE rowid = 6"));
    ASSERT_TRUE(query.exec("UPDATE data SET Temp2 = NULL, Xacc2 = 'n/a' WHERE rowid = 7"));
    DatabaseLogDlg page(db_, desktop_.path());
    page.History()->SetActive(true);
    EXPECT_EQ(Cell(page, 5, 12) + Cell(page, 5, 21), "----");  // slot 2 of row 6
    EXPECT_EQ(Cell(page, 5, 2) + "/" + Cell(page, 4, 12), "1.5/2.4");

    RecordHistorySource source(db_);
    HistoryChart chart(source);
    chart.SetSelection(HistorySelection::Machine(2));
    QString error;
    ASSERT_TRUE(chart.Show(kFirstSecond, kFirstSecond + 99, &error));
    const EdgeRect plot = chart.Layout().plotRect;
    const auto x = [&](int row) { return TimeToX(kFirstSecond + row, chart.Range(), plot); };
    for (int k = 0; k < kCurveCount; ++k) {  // no curve draws these as 0
        EXPECT_TRUE(std::isnan(chart.Reduction().Columns()[size_t(x(5) - plot.left)].first[k]));
        EXPECT_EQ(std::isnan(chart.Reduction().Columns()[size_t(x(6) - plot.left)].first[k]),
                  k < 2);
    }
    ASSERT_TRUE(chart.ReadoutAt(QPoint(x(5), plot.top + 10), &error) && chart.ReadoutRow());
    EXPECT_EQ(chart.ReadoutLines().value(1), "T_Shell = -- ℃");
}

// Vel_X of every machine: each machine's own column, a stale reading, a
// cell without a number and a machine never read as gaps; a readout line
// per machine by its name.
TEST_F(RecordHistoryPageTest, AllMachinesDrawOneQuantityFromEachMachinesColumn) {
    QSqlQuery query(db_.Connection());
    for (int n = 1; n <= kRecordSlots; ++n)  // unlike every other column of the slot
        ASSERT_TRUE(query.exec(QString("UPDATE data SET Xvel%1 = %1 * 10 + rowid / 100.0").arg(n)));
    ASSERT_TRUE(query.exec("UPDATE data SET Ok4 = 0"));
    ASSERT_TRUE(query.exec("UPDATE data SET Ok3 = 0 WHERE rowid = 6"));
    ASSERT_TRUE(query.exec("UPDATE data SET Xvel5 = NULL WHERE rowid = 7"));
    const SensorNames names{"P-101", "", "P-103", "", "", "Fan 6"};
    RecordHistorySource source(db_);
    HistoryChart chart(source);
    chart.SetSensorNames(names);
    chart.SetSelection(HistorySelection::Quantity(4));
    QString error;
    ASSERT_TRUE(chart.Show(kFirstSecond, kFirstSecond + 99, &error));
    const EdgeRect plot = chart.Layout().plotRect;
    const auto x = [&](int row) { return TimeToX(kFirstSecond + row, chart.Range(), plot); };
    for (const int row : {0, 5, 6, 50, 99}) {
        const HistoryColumn& column = chart.Reduction().Columns()[size_t(x(row) - plot.left)];
        for (int n = 1; n <= kSensorCount; ++n) {
            SCOPED_TRACE(QString("row %1 machine %2").arg(row).arg(n).toStdString());
            const bool gap = n == 4 || (n == 3 && row == 5) || (n == 5 && row == 6);
            if (gap)
                EXPECT_TRUE(std::isnan(column.first[size_t(n - 1)]));
            else
                EXPECT_FLOAT_EQ(column.first[size_t(n - 1)], float(n * 10 + (row + 1) / 100.0));
        }
    }
    for (int n = 1; n <= kSensorCount; ++n)
        EXPECT_EQ(SlotHasValues(chart.Reduction(), n - 1), n != 4) << n;

    ASSERT_TRUE(chart.ReadoutAt(QPoint(x(5), plot.top + 10), &error));
    EXPECT_EQ(chart.ReadoutLines().mid(1),
              QStringList({"1# P-101: Vel_X = 10.06 mm/s", "传感器【2】: Vel_X = 20.06 mm/s",
                           "3# P-103: Vel_X = -- mm/s", "传感器【4】: Vel_X = -- mm/s",
                           "传感器【5】: Vel_X = 50.06 mm/s", "6# Fan 6: Vel_X = 60.06 mm/s"}));
}

// The dialog switches between the machine and every machine over the same
// zoomed range; each machine's curve has its colour.
TEST_F(RecordHistoryPageTest, DialogShowsAllMachinesOverTheSameZoom) {
    std::array<int, kCurveCount> curves;
    curves.fill(1);
    HistoryChartDlg dialog(
        db_, 2, RecordRange::Between(kFirstSecond * 1000, (kFirstSecond + 99) * 1000),
        TrendLimits{}, curves, SensorNames{"P-101", "", "P-103 Feed pump", "P-104 Feed pump"},
        desktop_.path());
    dialog.show();
    dialog.View()->Reload();  // at its shown size, without waiting for the resize timer
    QImage image;
    SaveGrab(dialog, "history_chart_machine", &image);
    HistoryChart& chart = dialog.View()->Chart();
    const EdgeRect plot = chart.Layout().plotRect;
    QString error;
    ASSERT_TRUE(chart.ZoomToPixels(plot.left, plot.left + plot.Width() / 2, &error));
    const TrendTimeRange zoomed = chart.Range();
    auto* show = Child<QComboBox>(dialog, HistoryChartDlg::kShowId);
    auto* quantity = Child<QComboBox>(dialog, HistoryChartDlg::kQuantityId);
    EXPECT_FALSE(quantity->isEnabled());
    show->setCurrentIndex(1);
    emit show->activated(1);
    quantity->setCurrentIndex(6);
    emit quantity->activated(6);
    EXPECT_EQ(chart.Selection(), HistorySelection::Quantity(6));
    EXPECT_DOUBLE_EQ(chart.Range().start, zoomed.start);
    EXPECT_DOUBLE_EQ(chart.Range().end, zoomed.end);
    EXPECT_TRUE(chart.CanZoomOut());
    EXPECT_FALSE(Child<QPushButton>(dialog, HistoryChartDlg::kCurvesId)->isEnabled());
    EXPECT_TRUE(
        Child<QLabel>(dialog, HistoryChartDlg::kRangeTextId)->text().startsWith("全部机器 Vel_Z"));
    EXPECT_TRUE(dialog.ExportPicture().contains("全部机器Vel_Z历史趋势"));

    SaveGrab(dialog, "history_chart_all_machines", &image);
    const QPoint origin = dialog.View()->mapTo(&dialog, QPoint(0, 0));
    for (const QColor& color : MachineColors()) {
        int pixels = 0;
        for (int y = plot.top; y < plot.bottom; ++y)
            for (int px = plot.left; px < plot.right; ++px)
                pixels += QColor(image.pixel(origin + QPoint(px, y))) == color;
        EXPECT_GT(pixels, 20) << color.name().toStdString();
    }
    show->setCurrentIndex(0);
    emit show->activated(0);
    EXPECT_EQ(chart.Selection(), HistorySelection::Machine(2));
    EXPECT_EQ(dialog.windowTitle(), "历史趋势曲线 - 传感器2");
}

TEST(SetExpDlgTest, SixButtonsInOneRowChooseTheirSlot) {
    for (int slot = 1; slot <= 6; ++slot) {
        SetExpDlg chooser;
        EXPECT_EQ(chooser.windowTitle(), "导出指定传感器数据");
        auto* button = chooser.findChild<QPushButton*>(QString("id%1").arg(1080 + slot));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString("传感器【%1】").arg(slot));
        button->click();
        EXPECT_EQ(chooser.result(), QDialog::Accepted);
        EXPECT_EQ(chooser.SelectedSensor(), slot);
    }
    SetExpDlg chooser;
    auto* first = chooser.findChild<QPushButton*>("id1081");
    auto* last = chooser.findChild<QPushButton*>("id1086");
    EXPECT_EQ(first->y(), last->y());
    EXPECT_LT(first->geometry().right(), chooser.findChild<QPushButton*>("id1082")->x());
    EXPECT_LE(last->geometry().right(), chooser.width());

    // Names under the captions, long ones cut apart, whole in the tool tips.
    const SensorNames names{"P-101", "", "Boiler feed pump A drive end",
                            "Boiler feed pump B drive end"};
    chooser.SetSensorNames(names);
    const auto text = [&](int slot) {
        return chooser.findChild<QPushButton*>(QString("id%1").arg(1080 + slot))->text();
    };
    EXPECT_EQ(text(1), "传感器【1】\nP-101");
    EXPECT_EQ(text(2), "传感器【2】");
    EXPECT_NE(text(3), text(4));
    EXPECT_LT(text(3).size(), names[2].size());
    EXPECT_EQ(chooser.findChild<QPushButton*>("id1083")->toolTip(), names[2]);
}

TEST(OpenRecordDatabaseTest, ShowsTheConnectionMessageOnlyWhenTheFileCannotBeUsed) {
    QTemporaryDir good;
    QTemporaryDir foreign;
    test::RawExec(RecordDatabase::PathIn(foreign.path()), "CREATE TABLE data (a INTEGER)");
    ScopedMessageHook hook;
    RecordDatabase database;
    EXPECT_TRUE(OpenRecordDatabase(database, good.path()));
    EXPECT_TRUE(hook.Messages().isEmpty());
    CloseRecordDatabase(database);
    EXPECT_FALSE(database.IsOpen());

    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(OpenRecordDatabase(database, foreign.path()));
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(hook.Messages(),
              QStringList{"数据库服务器连接失败,请检查服务器是否已经打开并保持网络连接好....!"});
    // The page still works on a database that is not open: empty list, "-".
    DatabaseLogDlg page(database, good.path());
    EXPECT_EQ(page.findChild<QTableWidget*>("id1077")->rowCount(), 0);
    EXPECT_EQ(page.findChild<QLabel*>("id1080")->text(), "-");
}

TEST_F(RecordPageTest, DailyReportButtonActsOnlyWhenGivenAnActionWithTheFromEditorsDay) {
    DatabaseLogDlg page(db_, desktop_.path());
    RecordHistoryMode* history = page.History();
    history->SetActive(true);
    auto* button = Child<QPushButton>(page, RecordHistoryMode::kDailyReportId);
    EXPECT_FALSE(button->isEnabled());
    std::vector<QDate> asked;
    history->SetDailyReportAction([&asked](QDate day) { asked.push_back(day); });
    history->FromEdit()->setDateTime(QDateTime(QDate(2024, 5, 1), QTime(23, 59)));
    button->click();
    EXPECT_EQ(asked, std::vector<QDate>{QDate(2024, 5, 1)});
}

}  // namespace
}  // namespace orsan
