#include <gtest/gtest.h>

#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "DatabaseLogDlg.h"
#include "HistoryChartDlg.h"
#include "RecordDatabase.h"
#include "RecordHistoryMode.h"
#include "RecordTestSupport.h"
#include "SetExpDlg.h"
#include "TranslationProbe.h"

namespace orsan {
namespace {

// The record page (newest rows and history mode), the chooser and the
// history chart show every Chinese text through the translation once a
// translator comes, and exactly their Chinese again when it goes.
TEST(RecordTranslation, EveryTextFollowsTheInstalledLanguageAndComesBackUnchanged) {
    QTemporaryDir dir;
    RecordDatabase db;
    ASSERT_TRUE(db.Open(dir.path()));
    test::WriteThreeRows(db);
    const std::function<std::unique_ptr<QWidget>()> makers[] = {
        [&] { return std::make_unique<DatabaseLogDlg>(db, dir.path()); },
        [&] {
            auto page = std::make_unique<DatabaseLogDlg>(db, dir.path());
            page->findChild<QPushButton*>(QStringLiteral("id%1").arg(RecordHistoryMode::kToggleId))
                ->click();
            return std::unique_ptr<QWidget>(std::move(page));
        },
        [] { return std::make_unique<SetExpDlg>(); },
        [&] {
            std::array<int, kCurveCount> curves{};
            curves.fill(1);
            return std::make_unique<HistoryChartDlg>(db, 1, RecordRange::Between(0, 2000000000000),
                                                     TrendLimits{0, 100, 50, 50, 500}, curves,
                                                     SensorNames{},
                                                     dir.path());
        },
    };
    for (const auto& make : makers) {
        const std::unique_ptr<QWidget> widget = make();
        const QStringList chinese = ShownTexts(widget.get());
        {
            MarkingTranslator english;
            EXPECT_EQ(UnmarkedChinese(ShownTexts(widget.get())), QStringList())
                << widget->metaObject()->className();
        }
        EXPECT_EQ(ShownTexts(widget.get()), chinese) << widget->metaObject()->className();
    }
}

}  // namespace
}  // namespace orsan
