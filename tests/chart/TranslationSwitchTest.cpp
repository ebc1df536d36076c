#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "DxChartTrend.h"
#include "PannelDlg.h"
#include "SetChartDlg.h"
#include "SetShowDlg.h"
#include "TranslationProbe.h"
#include "TrendPainting.h"

namespace orsan {
namespace {

// Each page and dialog shows every Chinese text through the translation
// once a translator comes, and exactly its Chinese again when it goes.
TEST(ChartTranslation, EveryTextFollowsTheInstalledLanguageAndComesBackUnchanged) {
    QTemporaryDir dir;
    const StationPaths paths{dir.path(), dir.path()};
    const LiveValues live{};
    const std::function<std::unique_ptr<QWidget>()> makers[] = {
        [&] {
            auto panel = std::make_unique<PannelDlg>(0, paths, live, 1);
            panel->SetMachineName(QStringLiteral("P-101"));  // a name of no language
            return std::unique_ptr<QWidget>(std::move(panel));
        },
        [] { return std::make_unique<SetChartDlg>(); },
        [] { return std::make_unique<SetShowDlg>(); },
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

TEST(ChartTranslation, ChartRedrawsItsTitleInTheInstalledLanguage) {
    const ChartTitle designed("orsan::TrendChart", kChartTitleChinese, kChartTitleEnglish);
    EXPECT_EQ(designed.first, QString::fromUtf8(kChartTitleChinese));
    EXPECT_EQ(designed.second, kChartTitleEnglish);

    DxChartTrend chart;
    // An empty chart labels its time axis from the clock: a second passing
    // between the pictures must not count as a change.
    chart.Core().SetClock([] { return int64_t(1796605805); });
    chart.resize(600, 300);
    chart.EnsureImage();
    const QImage before = chart.Core().Image();
    {
        MarkingTranslator english;
        const ChartTitle translated("orsan::TrendChart", kChartTitleChinese, kChartTitleEnglish);
        EXPECT_EQ(translated.first, QStringLiteral("«%1»").arg(kChartTitleChinese));
        EXPECT_TRUE(translated.second.isEmpty());  // one English line, not two
        EXPECT_NE(chart.Core().Image(), before);
    }
    EXPECT_EQ(chart.Core().Image(), before);
}

}  // namespace
}  // namespace orsan
