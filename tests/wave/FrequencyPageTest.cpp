#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <cmath>
#include <numbers>

#include "AnalyseCommand.h"
#include "FrequencyPage.h"
#include "FrequencyView.h"
#include "TempDir.h"

namespace orsan {
namespace {

constexpr double kRate = 26667;  // one second: lines 1 Hz apart
constexpr size_t kCount = 26667;
constexpr double kSpeedHz = 20;

// X: 0.5 g at 160 Hz (8X) and 0.1 g at 40 Hz; Y: 0.2 g at 160 Hz; Z: none.
struct ToneCapture {
    std::vector<float> x = std::vector<float>(kCount), y = x, z = x;
    ToneCapture() {
        for (size_t k = 0; k < kCount; ++k) {
            const double t = 2 * std::numbers::pi * double(k) / kRate;
            x[k] = float(0.5 * std::sin(160 * t) + 0.1 * std::sin(40 * t));
            y[k] = float(0.2 * std::sin(160 * t + 1));
        }
    }
    std::array<const float*, 3> Axes() const { return {x.data(), y.data(), z.data()}; }
};

class FrequencyPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        page.resize(850, 480);
        page.SetLiveReadings([] { return SensorLiveReading{kSpeedHz, {1, 2, 3}, true}; });
        page.show();
        QString error;
        ASSERT_TRUE(page.Analyse(capture.Axes(), kCount, kRate, "09时10分11秒",
                                 QString::fromStdString(folder.File("w")), &error))
            << error.toStdString();
    }
    void Click(int column) {
        QTest::mouseClick(page.View(), Qt::LeftButton, {}, QPoint(column, 100));
    }
    int Column(double hz) { return ColumnOfHz(page.View()->Plot(), page.View()->State().x, hz); }
    template <class T>
    T* Control(int id) {
        return page.findChild<T*>(QStringLiteral("id%1").arg(id));
    }

    test::TempDir folder{"spectrum-page"};
    ToneCapture capture;
    FrequencyPage page;
};

TEST_F(FrequencyPageTest, CursorReadsFrequencyOrderAndEachAxisOfEveryKind) {
    struct Case {
        int kindIndex;
        const char* unit;
        double x, y;  // at 160 Hz
    };
    const double velocity = kMillimetresPerSecondPerG / (2 * std::numbers::pi * 160);
    const Case cases[] = {
        {0, "g", 0.5, 0.2},
        {1, "mm/s", 0.5 * velocity, 0.2 * velocity},
    };
    for (const Case& c : cases) {
        Control<QComboBox>(1131)->setCurrentIndex(c.kindIndex);
        EXPECT_EQ(page.View()->Content().unit, QLatin1String(c.unit));
        // A click a few pixels off lands on the peak drawn in that column.
        Click(Column(160) + 1);
        const auto cursor = page.View()->Cursor();
        ASSERT_TRUE(cursor) << c.unit;
        EXPECT_DOUBLE_EQ(cursor->frequency, 160);
        EXPECT_DOUBLE_EQ(cursor->order, 8);
        EXPECT_NEAR(cursor->amplitude[0], c.x, 0.01 * c.x) << c.unit;
        EXPECT_NEAR(cursor->amplitude[1], c.y, 0.01 * c.y) << c.unit;
        EXPECT_LT(cursor->amplitude[2], 1e-6);
    }
}

TEST_F(FrequencyPageTest, DragZoomsIntoItsSpanAndBackAndTheLogScaleSpansDecades) {
    const double pixelHz = page.View()->State().x.Span() / page.View()->Plot().Width();
    QTest::mousePress(page.View(), Qt::LeftButton, {}, QPoint(Column(100), 100));
    QTest::mouseMove(page.View(), QPoint(Column(300), 100));
    QTest::mouseRelease(page.View(), Qt::LeftButton, {}, QPoint(Column(300), 100));
    EXPECT_NEAR(page.View()->State().x.min, 100, pixelHz);
    EXPECT_NEAR(page.View()->State().x.max, 300, pixelHz);
    // Over 100..300 Hz the largest line is X's 0.5 g: the linear axis ends at 1.
    EXPECT_EQ(page.View()->State().y.max, 1);
    Control<QComboBox>(1132)->setCurrentIndex(1);
    EXPECT_EQ(page.View()->State().y.max, 0);
    EXPECT_EQ(page.View()->State().y.Span(), kLogDecades);

    QTest::mousePress(page.View(), Qt::LeftButton, {}, QPoint(Column(250), 100));
    QTest::mouseMove(page.View(), QPoint(Column(150), 100));
    QTest::mouseRelease(page.View(), Qt::LeftButton, {}, QPoint(Column(150), 100));
    EXPECT_EQ(page.View()->State().x.max, page.View()->State().homeX.max);
}

TEST_F(FrequencyPageTest, ExportsTheCommandLinesCsvAndThePictureOnScreen) {
    Control<QComboBox>(1131)->setCurrentIndex(2);
    QString path, error;
    ASSERT_TRUE(page.ExportCsv(&path, &error)) << error.toStdString();
    EXPECT_EQ(path, QString::fromStdString(folder.File("w_频谱_env.csv")));
    std::string why;
    EXPECT_EQ(test::ReadWholeFile(path.toStdString()),
              SpectrumCsvOf(capture.Axes(), kCount, kRate, "09时10分11秒", SpectrumKind::Envelope,
                            0, &why));

    Click(Column(40));
    Control<QPushButton>(1133)->click();
    ASSERT_TRUE(page.ExportPicture(&path, &error)) << error.toStdString();
    const QImage saved(path);
    EXPECT_EQ(saved.size(), page.View()->size());
    EXPECT_EQ(saved, page.View()->Picture().convertToFormat(QImage::Format_RGB32));
}

}  // namespace
}  // namespace orsan
