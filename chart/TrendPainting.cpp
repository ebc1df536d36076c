#include "TrendPainting.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

#include "OutputPath.h"
#include "TrendLabels.h"

namespace orsan {

namespace {

// Text with its top-left corner at a point, as the chart places every label.
void DrawTextAt(QPainter& painter, QPointF at, const QString& text) {
    painter.drawText(QRectF(at, QSizeF(1000, 100)), Qt::AlignLeft | Qt::AlignTop, text);
}

// The time labels change with every sample, and shaping their text is most
// of their cost: their characters (digits, '-', ':') are looked up in the
// chart font once, and each line is drawn as glyphs placed by their
// advances; a text with any other character is drawn as text.
class LabelGlyphs {
public:
    static const LabelGlyphs& Get() {
        static const LabelGlyphs glyphs;
        return glyphs;
    }

    // text's lines ("\r\n" between them) with the first one's top-left at `at`.
    void Draw(QPainter& painter, QPointF at, const QString& text) const {
        qreal baseline = at.y() + ascent_;
        QGlyphRun run;
        run.setRawFont(font_);
        for (const QStringView line : QStringView(text).split(QStringLiteral("\r\n"))) {
            indexes_.clear();
            positions_.clear();
            qreal x = 0;
            for (const QChar c : line) {
                const int k = kCharacters.indexOf(c);
                if (k < 0 || !font_.isValid()) {
                    DrawTextAt(painter, at,
                               QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
                    return;
                }
                indexes_.push_back(glyphs_[k]);
                positions_.push_back(QPointF(x, 0));
                x += advances_[k].x();
            }
            run.setGlyphIndexes(indexes_);
            run.setPositions(positions_);
            painter.drawGlyphRun(QPointF(at.x(), baseline), run);
            baseline += lineStep_;
        }
    }

private:
    static inline const QString kCharacters = QStringLiteral("0123456789-: ");

    LabelGlyphs() : font_(QRawFont::fromFont(ChartFont())) {
        const QFontMetricsF metrics(ChartFont());
        ascent_ = metrics.ascent();
        lineStep_ = metrics.height() + metrics.leading();
        glyphs_ = font_.glyphIndexesForString(kCharacters);
        advances_ = font_.advancesForGlyphIndexes(glyphs_);
    }

    QRawFont font_;
    qreal ascent_ = 0;
    qreal lineStep_ = 0;
    QList<quint32> glyphs_;
    QList<QPointF> advances_;
    mutable QList<quint32> indexes_;  // reused by every line (UI thread only)
    mutable QList<QPointF> positions_;
};

struct AxisText {
    int x;
    const char* name;
    QString unit;
};

const std::array<AxisText, 4>& AxisTexts() {
    static const std::array<AxisText, 4> axes = {{{15, "Temp", QStringLiteral("℃")},
                                                  {65, "Acc", QStringLiteral("m/ss")},
                                                  {115, "Vel", QStringLiteral("mm/s")},
                                                  {165, "Disp", QStringLiteral("um")}}};
    return axes;
}

}  // namespace

void PaintTrendFrame(QPainter& p, const TrendLayout& layout, const TrendLimits& limits,
                     const std::array<int, kCurveCount>& visible, const QString& titleChinese,
                     const QString& titleEnglish, TimeGrid grid) {
    const EdgeRect& plot = layout.plotRect;
    const int gx = layout.gridStepX;
    const int gy = layout.gridStepY;
    p.fillRect(layout.clientRect.ToQRect(), kChartBackground);

    const QPen solid(kGridSolidColor, 1.0);
    QPen dashed(kGridDashColor, 1.0);
    dashed.setDashPattern({2, 2, 2, 2});

    p.setPen(solid);
    p.drawLine(plot.left, plot.top, plot.right, plot.top);
    p.drawLine(plot.right, plot.top, plot.right, plot.bottom);
    p.drawLine(plot.right, plot.bottom, plot.left, plot.bottom);
    p.drawLine(plot.left, plot.bottom, plot.left, plot.top);

    p.setPen(dashed);
    for (int i = 1; i <= 9; ++i) {
        const int y = plot.top + i * gy;
        p.drawLine(plot.left, y, plot.right, y);
    }
    for (int i = 1; i <= 24; ++i) {
        const int x = plot.left + i * gx;
        p.drawLine(x, plot.top, x, plot.bottom);
    }

    p.setPen(solid);
    for (int i = 1; i <= 4 && grid == TimeGrid::EveryFifthColumn; ++i) {
        const int x = plot.left + 5 * i * gx;
        p.drawLine(x, plot.top, x, plot.bottom);
    }
    for (int a = 0; a < 4; ++a) {
        const int x = 50 * a + 6;
        p.drawLine(x, plot.top, x, plot.bottom);
        for (int j = 0; j <= 10; ++j) {
            const int y = plot.top + j * gy;
            p.drawLine(x, y, x + 6, y);
        }
    }

    p.setFont(ChartFont());
    p.setPen(kChartTextColor);
    DrawTextAt(p, QPointF(plot.left + 10 * gx + 5, plot.top - 42), titleChinese);
    DrawTextAt(p, QPointF(plot.left + 7.5 * gx - 5, plot.top - 24), titleEnglish);
    for (int a = 0; a < 4; ++a) {
        const AxisText& axis = AxisTexts()[a];
        const auto labels = AxisLabelTexts(AxisLower(limits, a), AxisUpper(limits, a));
        for (int j = 0; j <= 10; ++j)
            DrawTextAt(p, QPointF(axis.x, plot.bottom - j * gy - 7), labels[j]);
        DrawTextAt(p, QPointF(axis.x, plot.top - 42), QString::fromLatin1(axis.name));
        DrawTextAt(p, QPointF(axis.x, plot.top - 24), axis.unit);
    }

    for (int k = 0; k < kCurveCount; ++k) {
        if (visible[k] == 0) continue;
        const int y = plot.top + kLegendOffsets[k];
        p.fillRect(QRect(plot.right + 5, y, 14, 8), CurveColors()[k]);
        p.setPen(CurveColors()[k]);
        DrawTextAt(p, QPointF(plot.right + 22, y - 2), CurveNames()[k]);
    }
}

void PaintTimeLabels(QPainter& p, const TrendLayout& layout, const TrendTimeRange& range) {
    const EdgeRect& plot = layout.plotRect;
    const int step = TimeLabelStep(range);
    p.setFont(ChartFont());
    p.setPen(kChartTextColor);
    for (int i = 0; i <= 5; ++i)
        LabelGlyphs::Get().Draw(p, QPointF(plot.left + 5 * i * layout.gridStepX, plot.bottom + 5),
                                TimeLabelText(range.startTime + i * step));
}

void PaintTimeTicks(QPainter& p, const TrendLayout& layout, const TrendTimeRange& range) {
    const EdgeRect& plot = layout.plotRect;
    // As many labels as the live chart has at most, so they never crowd.
    const TimeTicks ticks = RoundTimeTicks(range.start, range.end, 6);
    const TimeColumns columns(range, plot);
    p.setFont(ChartFont());
    for (const int64_t t : ticks.times) {
        const int x = columns(double(t));
        p.setPen(QPen(kGridSolidColor, 1.0));
        if (x > plot.left && x < plot.right) p.drawLine(x, plot.top, x, plot.bottom);
        p.setPen(kChartTextColor);
        LabelGlyphs::Get().Draw(p, QPointF(x, plot.bottom + 5), TimeLabelText(int32_t(t)));
    }
}

void PaintReadout(QPainter& p, const EdgeRect& plot, int cursorX, const SensorSample& sample) {
    PaintReadoutLines(p, plot, cursorX, ReadoutLines(sample));
}

void PaintReadoutLines(QPainter& p, const EdgeRect& plot, int cursorX, const QStringList& lines) {
    p.save();
    p.setPen(QPen(kReadoutColor, 1.0));
    p.drawLine(cursorX, plot.top, cursorX, plot.bottom);
    p.setFont(ReadoutFont());
    for (int k = 0; k < lines.size(); ++k) {
        const ReadoutLineBox line = ReadoutBox(plot, cursorX, k);
        if (line.box.Width() <= 0) continue;
        const int align = (line.alignLeft ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop;
        p.drawText(line.box.ToQRect(), align, lines[k]);
    }
    p.restore();
}

ChartTitle::ChartTitle(const char* context, const char* chinese, const QString& english)
    : first(QCoreApplication::translate(context, chinese)) {
    if (first == QString::fromUtf8(chinese)) second = english;
}

bool SaveChartImage(const QImage& image, const QString& path, QString* error) {
    const auto fail = [&](const QString& reason) {
        if (error)
            *error = QCoreApplication::translate("orsan::TrendChart", "无法写入文件 %1：%2")
                         .arg(path, reason);
        return false;
    };
    if (image.isNull())
        return fail(QCoreApplication::translate("orsan::TrendChart", "曲线图尚未绘制"));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    // Opaque white chart: a plain RGB picture.
    if (!image.convertToFormat(QImage::Format_RGB32).save(&buffer, "PNG"))
        return fail(QCoreApplication::translate("orsan::TrendChart", "PNG编码失败"));
    QString reason;
    if (!WriteOutputBytes(path, png, &reason)) return fail(reason);
    return true;
}

}  // namespace orsan
