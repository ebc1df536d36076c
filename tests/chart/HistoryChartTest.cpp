#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>
#include <limits>
#include <vector>

#include "HistoryBands.h"
#include "HistoryChart.h"
#include "HistoryCurves.h"
#include "HistoryReduction.h"
#include "PlausibleTrend.h"

namespace orsan {
namespace {

std::array<float, kCurveCount> ValuesOf(const SensorSample& s) {
    std::array<float, kCurveCount> values{};
    for (int k = 0; k < kCurveCount; ++k) values[k] = s.Value(k);
    return values;
}

// Rows a given number of milliseconds apart, with holes and odd values.
std::vector<SensorSample> Rows(int count, int stepMs, int holeAt = -1, int holeMs = 0) {
    std::vector<SensorSample> rows;
    int64_t at = int64_t(1714523415) * 1000;
    for (int i = 0; i < count; ++i) {
        SensorSample s = test::PlausibleTrendSample(i);
        // Spikes and noise that only a min/max reduction keeps.
        s.Acc_X += float((int64_t(i) * 7919) % 13) * 0.3f;
        if (i % 997 == 0) s.Vel_Y = 19.5f;
        if (i % 1499 == 0) s.Disp_X = std::numeric_limits<float>::quiet_NaN();
        s.time = int32_t(at / 1000);
        s.milliseconds = uint16_t(at % 1000);
        rows.push_back(s);
        at += (i == holeAt) ? holeMs : stepMs;
    }
    return rows;
}

// Rows [from, to) without values, as stale readings read back.
std::vector<SensorSample> Stale(std::vector<SensorSample> rows, size_t from, size_t to) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (size_t i = from; i < to; ++i) {
        SensorSample& s = rows[i];
        s.T_Shell = s.Acc_X = s.Acc_Y = s.Acc_Z = s.Vel_X = s.Vel_Y = s.Vel_Z = nan;
        s.Disp_X = s.Disp_Y = s.Disp_Z = nan;
    }
    return rows;
}

TrendLimits Limits() {
    return TrendLimits{20, 50, 10, 20, 50};  // TMin, TMax, AMax, VMax, DMax
}

TrendTimeRange RangeOf(const std::vector<SensorSample>& rows) {
    TrendTimeRange range;
    range.start = SampleTimePosition(rows.front()) - 1;
    range.end = SampleTimePosition(rows.back()) + 1;
    range.startTime = int32_t(std::floor(range.start));
    range.endTime = int32_t(std::ceil(range.end));
    return range;
}

// The oracle: a line through every row, broken where two rows are further
// apart than the gap and where a row has no value (NaN).
void PaintEveryRow(QPainter& painter, const std::vector<SensorSample>& rows,
                   const TrendTimeRange& range, const EdgeRect& plot, double gap) {
    for (int k = 0; k < kCurveCount; ++k) {
        const int axis = AxisOfCurve(k);
        painter.setPen(QPen(CurveColors()[k], 1.0));
        std::vector<QPoint> run;
        for (size_t i = 0; i < rows.size(); ++i) {
            if (i > 0 && SampleTimePosition(rows[i]) - SampleTimePosition(rows[i - 1]) > gap) {
                PaintRun(painter, run.data(), int(run.size()));
                run.clear();
            }
            if (std::isnan(rows[i].Value(k))) {
                PaintRun(painter, run.data(), int(run.size()));
                run.clear();
                continue;
            }
            run.emplace_back(TimeToX(SampleTimePosition(rows[i]), range, plot),
                             ValueToY(rows[i].Value(k), AxisLower(Limits(), axis),
                                      AxisUpper(Limits(), axis), plot));
        }
        PaintRun(painter, run.data(), int(run.size()));
    }
}

QImage Blank(const TrendLayout& layout) {
    QImage image(layout.width, layout.height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Resets the reduction to the rows' range on the plot and adds every row.
void Reduce(HistoryReduction& reduction, const std::vector<SensorSample>& rows,
            const EdgeRect& plot) {
    reduction.Reset(RangeOf(rows), plot);
    for (const SensorSample& row : rows) reduction.Add(SampleTimePosition(row), ValuesOf(row));
}

int64_t InkedPixels(const QImage& image) {
    int64_t count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != qRgb(255, 255, 255);
    return count;
}

std::array<int, kCurveCount> AllCurves() {
    std::array<int, kCurveCount> all;
    all.fill(1);
    return all;
}

// The reduction's ten curves painted onto a device.
void PaintAllCurves(QPaintDevice& device, const HistoryReduction& reduction) {
    QPainter painter(&device);
    PaintReducedCurves(painter, reduction, Limits(), AllCurves());
}

int64_t DifferingPixels(const QImage& a, const QImage& b) {
    int64_t count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

// Rows with a change made to each.
template <typename Change>
std::vector<SensorSample> Changed(std::vector<SensorSample> rows, Change change) {
    for (size_t i = 0; i < rows.size(); ++i) change(rows[i], i);
    return rows;
}

TEST(HistoryReductionTest, DrawsTheSamePixelsAsEveryRow) {
    const struct {
        const char* name;
        std::vector<SensorSample> rows;
    } cases[] = {
        {"a day at 0.3 s", Rows(288000, 300)},
        {"fewer rows than columns", Rows(40, 1000)},
        {"ten minutes at 1 s", Rows(600, 1000)},
        {"a stop of ten minutes", Rows(3000, 300, 1500, 600000)},
        {"one lost row", Rows(2000, 1000, 1000, 2000)},
        {"stale readings", Stale(Rows(600, 1000), 200, 260)},
        {"stale readings at 0.3 s", Stale(Rows(20000, 300), 5000, 9000)},
    };
    const TrendLayout layout = ComputeTrendLayout(1000, 500);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HistoryReduction reduction;
        Reduce(reduction, c.rows, layout.plotRect);
        ASSERT_EQ(reduction.RowCount(), int64_t(c.rows.size()));

        QImage reduced = Blank(layout);
        QImage every = Blank(layout);
        PaintAllCurves(reduced, reduction);
        {
            QPainter painter(&every);
            PaintEveryRow(painter, c.rows, RangeOf(c.rows), layout.plotRect,
                          reduction.GapSeconds());
        }
        const int64_t inked = InkedPixels(every);
        ASSERT_GT(inked, 2000);  // the comparison means something
        const int64_t differing = DifferingPixels(every, reduced);
        const int64_t plotPixels = int64_t(layout.width) * layout.height;
        EXPECT_LE(differing * 10000, plotPixels) << differing << " of " << plotPixels;
    }
}

// Onto an image the curves are written straight into its pixels, onto any
// other device (the report's PDF) the painter draws them: replayed from a
// picture onto an image, the painter's lines set exactly the same pixels.
TEST(HistoryReductionTest, ImagePixelsAreThePaintersPixels) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const auto beyondTheAxes = [](SensorSample& s, size_t i) {
        s.T_Shell = i % 3 == 0 ? 80.f : float(i % 41);
        s.Acc_Y = i % 2 ? -5.f : 15.f;
        s.Vel_X = float(i % 11) * 4 - 10;
    };
    const auto flat = [](SensorSample& s, size_t i) {
        s.T_Shell = 35;
        s.Acc_X = 3;
        s.Vel_Z = i < 2500 ? 2.f : 9.f;
    };
    const auto loneRows = [&](SensorSample& s, size_t i) {
        if (i % 2) s.Acc_Z = s.Vel_Y = s.Disp_Z = nan;
        if (i % 97 < 3) s.T_Shell = nan;
    };
    // Three rows 0.3 s apart every 10 s, 0 -> 10 -> 0: each a polyline that
    // ends where it began.
    const auto backWhereTheyBegan = [](SensorSample& s, size_t i) {
        const int64_t at =
            int64_t(1714523415) * 1000 + int64_t(i / 3) * 10000 + int64_t(i % 3) * 300;
        s.time = int32_t(at / 1000);
        s.milliseconds = uint16_t(at % 1000);
        s.Vel_Y = i % 3 == 1 ? 10.f : 0.f;
    };
    const struct {
        const char* name;
        std::vector<SensorSample> rows;
    } cases[] = {
        {"a day at 0.3 s", Rows(288000, 300)},
        {"tall spans beyond both ends of the axes", Changed(Rows(30000, 300), beyondTheAxes)},
        {"flat runs", Changed(Rows(5000, 1000), flat)},
        {"lone rows between stale ones", Changed(Rows(4000, 300), loneRows)},
        {"runs ending where they began", Changed(Rows(600, 300), backWhereTheyBegan)},
        {"a stop and stale readings", Stale(Rows(3000, 300, 1500, 600000), 200, 900)},
        {"fewer rows than columns", Rows(40, 1000)},
        {"one row", Rows(1, 1000)},
    };
    const TrendLayout layout = ComputeTrendLayout(1100, 560);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HistoryReduction reduction;
        Reduce(reduction, c.rows, layout.plotRect);
        QPicture picture;
        PaintAllCurves(picture, reduction);
        for (const QImage::Format format :
             {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied}) {
            QImage direct(layout.width, layout.height, format);
            direct.fill(Qt::white);
            QImage drawn = direct.copy();
            PaintAllCurves(direct, reduction);
            {
                QPainter painter(&drawn);
                painter.drawPicture(0, 0, picture);
            }
            ASSERT_GT(InkedPixels(drawn), 0);
            EXPECT_EQ(DifferingPixels(direct, drawn), 0) << format;
        }
    }
}

TEST(HistoryReductionTest, GapRuleFollowsTheRowSpacing) {
    const struct {
        const char* name;
        std::vector<SensorSample> rows;
        double gap;
    } cases[] = {
        {"one row", Rows(1, 1000), 2.0},
        {"0.3 s rows", Rows(100, 300), 2.0},
        {"1 s rows", Rows(100, 1000), 3.0},
        {"a minute apart, one hole", Rows(100, 60000, 50, 3600000), 180.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HistoryReduction reduction;
        Reduce(reduction, c.rows, ComputeTrendLayout(1000, 500).plotRect);
        EXPECT_NEAR(reduction.GapSeconds(), c.gap, 1e-4);
    }
}

TEST(HistoryReductionTest, HolesBeyondTheGapStayEmpty) {
    const struct {
        int holeMs;
        bool joined;
    } cases[] = {{2000, true}, {3000, true}, {3001, false}, {10000, false}};
    const TrendLayout layout = ComputeTrendLayout(1000, 500);
    std::array<int, kCurveCount> one{};
    one[0] = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holeMs);
        const std::vector<SensorSample> rows = Rows(100, 1000, 49, c.holeMs);
        HistoryReduction reduction;
        Reduce(reduction, rows, layout.plotRect);
        QImage image = Blank(layout);
        {
            QPainter painter(&image);
            PaintReducedCurves(painter, reduction, Limits(), one);
        }
        const double middle = (SampleTimePosition(rows[49]) + SampleTimePosition(rows[50])) / 2;
        const int x = TimeToX(middle, RangeOf(rows), layout.plotRect);
        int inked = 0;
        for (int y = 0; y < image.height(); ++y) inked += image.pixel(x, y) != qRgb(255, 255, 255);
        EXPECT_EQ(inked > 0, c.joined) << inked;
    }
}

// Rows held in memory, as the record database would give them.
class MemorySource : public HistorySource {
public:
    explicit MemorySource(std::vector<SensorSample> rows) : rows_(std::move(rows)) {}

    bool ReadRows(const std::vector<HistoryCurve>&, double from, double to, HistoryReduction& into,
                  QString* error) override {
        reads.push_back({from, to});
        if (fail) {
            *error = QStringLiteral("disk gone");
            return false;
        }
        for (const SensorSample& row : rows_) {
            const double at = SampleTimePosition(row);
            if (at >= from && at <= to) into.Add(at, ValuesOf(row));
        }
        return true;
    }
    bool NearestRow(const std::vector<HistoryCurve>&, double at, double from, double to,
                    std::optional<HistoryRow>* row, QString*) override {
        row->reset();
        double best = 0;
        for (const SensorSample& r : rows_) {
            const double t = SampleTimePosition(r);
            if (t < from || t > to) continue;
            if (!*row || std::fabs(t - at) < best) {
                *row = HistoryRow{r.time, r.milliseconds, ValuesOf(r)};
                best = std::fabs(t - at);
            }
        }
        return true;
    }

    std::vector<std::pair<double, double>> reads;
    bool fail = false;

private:
    std::vector<SensorSample> rows_;
};

TEST(HistoryChartTest, ZoomsInAndBackOut) {
    MemorySource source(Rows(3600, 1000));
    HistoryChart chart(source);
    chart.SetSize(1000, 500);
    QString error;
    const double start = 1714523415.0;
    ASSERT_TRUE(chart.Show(start, start + 3600, &error));
    EXPECT_EQ(chart.Reduction().RowCount(), 3600);
    EXPECT_FALSE(chart.CanZoomOut());

    const EdgeRect plot = chart.Layout().plotRect;
    const int quarter = plot.left + plot.Width() / 4;
    const int half = plot.left + plot.Width() / 2;
    const auto timeAt = [&](int x) { return start + 3600.0 * (x - plot.left) / plot.Width(); };
    ASSERT_TRUE(chart.ZoomToPixels(half, quarter, &error));  // dragged leftwards
    EXPECT_NEAR(chart.Range().start, timeAt(quarter), 0.001);
    EXPECT_NEAR(chart.Range().end, timeAt(half), 0.001);
    // Rows a whole second apart from `start`: those from the range's start to its end.
    const int64_t inside =
        int64_t(std::floor(chart.Range().end)) - int64_t(std::ceil(chart.Range().start)) + 1;
    EXPECT_GT(inside, 800);
    EXPECT_EQ(chart.Reduction().RowCount(), inside);
    EXPECT_TRUE(chart.CanZoomOut());

    EXPECT_FALSE(chart.ZoomToPixels(half, half + 2, &error));  // a click, not a drag
    EXPECT_NEAR(chart.Range().start, timeAt(quarter), 0.001);

    ASSERT_TRUE(chart.ZoomOut(&error));
    EXPECT_DOUBLE_EQ(chart.Range().start, start);
    EXPECT_DOUBLE_EQ(chart.Range().end, start + 3600);
    EXPECT_FALSE(chart.ZoomOut(&error));
    EXPECT_EQ(source.reads.size(), 3u);
}

TEST(HistoryChartTest, ReadoutShowsTheNearestRow) {
    const std::vector<SensorSample> rows = Rows(600, 1000);
    MemorySource source(rows);
    HistoryChart chart(source);
    QString error;
    ASSERT_TRUE(
        chart.Show(SampleTimePosition(rows.front()), SampleTimePosition(rows.back()), &error));
    const EdgeRect plot = chart.Layout().plotRect;
    for (const int i : {0, 123, 599}) {
        const int x = TimeToX(SampleTimePosition(rows[size_t(i)]), chart.Range(), plot);
        ASSERT_TRUE(chart.ReadoutAt(QPoint(x, plot.top + 5), &error));
        ASSERT_TRUE(chart.ReadoutRow());
        // One pixel spans more than a second here: the row is at most one away.
        const double at = chart.ReadoutRow()->time + chart.ReadoutRow()->milliseconds / 1000.0;
        EXPECT_NEAR(at, SampleTimePosition(rows[size_t(i)]), 1.01);
        EXPECT_EQ(chart.CursorX(), TimeToX(at, chart.Range(), plot));
    }
    ASSERT_TRUE(chart.ReadoutAt(QPoint(plot.left - 20, plot.top + 5), &error));
    EXPECT_FALSE(chart.ReadoutRow());
}

TEST(HistoryChartTest, FailedReadShowsNoCurvesAndSaysWhy) {
    MemorySource source(Rows(600, 1000));
    HistoryChart chart(source);
    QString error;
    ASSERT_TRUE(chart.Show(1714523415.0, 1714523415.0 + 600, &error));
    const int64_t withCurves = InkedPixels(chart.Image());
    source.fail = true;
    EXPECT_FALSE(chart.Reload(&error));
    EXPECT_EQ(error, "disk gone");
    EXPECT_EQ(chart.Reduction().RowCount(), 0);
    EXPECT_LT(InkedPixels(chart.Image()), withCurves);
}

TEST(HistoryChartTest, PictureIsTheImage) {
    MemorySource source(Rows(600, 1000));
    HistoryChart chart(source);
    QString error;
    ASSERT_TRUE(chart.Show(1714523415.0, 1714523415.0 + 600, &error));
    QTemporaryDir dir;
    const QString path = dir.filePath("h.png");
    ASSERT_TRUE(chart.SavePicture(path, &error)) << error.toStdString();
    const QImage saved(path);
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32),
              chart.Image().convertToFormat(QImage::Format_RGB32));
    EXPECT_FALSE(chart.SavePicture(dir.filePath("no/such/h.png"), &error));
    EXPECT_TRUE(error.contains("h.png"));
}

// Every colour's band stands out on the white plot and lets a band below it
// show through.
TEST(HistoryChartTest, BandsAreVisibleOnWhiteAndTranslucent) {
    const TrendLayout layout = ComputeTrendLayout(600, 300);
    std::array<int, kCurveCount> shown;
    shown.fill(1);
    const auto paint = [&](std::vector<QColor> colors) {
        QImage image(layout.width, layout.height, QImage::Format_RGB32);
        image.fill(kChartBackground);
        HistoryBands bands;
        for (const QColor& color : colors) bands.curves.push_back({4, color, {{0, 2, 5, 8}}});
        QPainter painter(&image);
        PaintHistoryBands(painter, bands, {0, 3600, 0, 3600}, layout.plotRect, {}, shown);
        // Inside the Vel_X band (2..8 mm/s), clear of its mean line at 5.
        return QColor(image.pixel(layout.plotRect.left + 9, ValueToY(7, 0, 10, layout.plotRect)));
    };
    const auto distance = [](const QColor& a, const QColor& b) {
        return std::max({std::abs(a.red() - b.red()), std::abs(a.green() - b.green()),
                         std::abs(a.blue() - b.blue())});
    };
    std::vector<QColor> colors(CurveColors().begin(), CurveColors().end());
    colors.insert(colors.end(), MachineColors().begin(), MachineColors().end());
    for (size_t i = 0; i < colors.size(); ++i) {
        SCOPED_TRACE(colors[i].name().toStdString());
        EXPECT_GE(distance(paint({colors[i]}), kChartBackground), 55);
        EXPECT_GE(distance(paint({colors[(i + 3) % colors.size()], colors[i]}), paint({colors[i]})),
                  12);
    }
}

// Every cut legend name points at its machine alone, as a reader takes it:
// "P-10…" begins a name, "…mp" ends one, "…101…" stands in one.
TEST(HistoryChartTest, LegendCutsNamesSoEachStaysDistinct) {
    const QFontMetrics metrics(ChartFont());
    const int width = MachineLegendTextWidth(ComputeTrendLayout(1100, 580));
    const auto mayBe = [&](const QString& line, const QString& name) {
        QStringList pieces = line.section(' ', 1).split(QChar(0x2026));
        for (QString& piece : pieces) piece = QRegularExpression::escape(piece);
        return QRegularExpression('^' + pieces.join(".*") + '$').match(name).hasMatch();
    };
    const SensorNames cases[] = {
        {"P-101 Feed pump", "P-102 Feed pump", "P-103", "", "Cooling fan", "Cooling fan motor"},
        {"一号循环水泵电机", "二号循环水泵电机", "一号循环水泵齿轮箱", "", "", ""},
        {"Boiler feed pump A", "Boiler feed pump B", "Boiler fan", "K-1", "", "x"}};
    for (const SensorNames& names : cases) {
        const QStringList lines = MachineLegendLines(names, metrics, width);
        for (int i = 0; i < kSensorCount; ++i) {
            SCOPED_TRACE(lines[i].toStdString());
            EXPECT_LE(metrics.horizontalAdvance(lines[i]), width);
            EXPECT_TRUE(lines[i].startsWith(QStringLiteral("%1#").arg(i + 1)));
            for (int j = 0; j < kSensorCount && !names[i].isEmpty(); ++j)
                EXPECT_TRUE(names[j].isEmpty() || mayBe(lines[i], names[j]) == (i == j)) << j + 1;
        }
    }
}

}  // namespace
}  // namespace orsan
