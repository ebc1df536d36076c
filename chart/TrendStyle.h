#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <array>

namespace orsan {

inline constexpr int kCurveCount = 10;

// Curve colours in curve index order (T_Shell ... Disp_Z), for the pens,
// the legend swatches and the legend texts.
inline const std::array<QColor, kCurveCount>& CurveColors() {
    static const std::array<QColor, kCurveCount> colors = {
        QColor(237, 28, 36),  QColor(136, 0, 21),   QColor(34, 177, 76),   QColor(63, 72, 204),
        QColor(163, 73, 164), QColor(255, 127, 39), QColor(112, 146, 190), QColor(185, 122, 87),
        QColor(255, 0, 128),  QColor(255, 0, 255)};
    return colors;
}

inline const std::array<QString, kCurveCount>& CurveNames() {
    static const std::array<QString, kCurveCount> names = {
        QStringLiteral("T_Shell"), QStringLiteral("Acc_X"),  QStringLiteral("Acc_Y"),
        QStringLiteral("Acc_Z"),   QStringLiteral("Vel_X"),  QStringLiteral("Vel_Y"),
        QStringLiteral("Vel_Z"),   QStringLiteral("Disp_X"), QStringLiteral("Disp_Y"),
        QStringLiteral("Disp_Z")};
    return names;
}

// Legend swatch tops below the plot's top edge; hidden curves keep their place.
inline constexpr std::array<int, kCurveCount> kLegendOffsets = {0,  16, 30,  44,  60,
                                                                74, 88, 102, 116, 130};

inline const QColor kChartBackground{255, 255, 255};
inline const QColor kGridSolidColor{130, 130, 130};
inline const QColor kGridDashColor{160, 160, 160};
inline const QColor kChartTextColor{0, 0, 0};
inline const QColor kReadoutColor{0, 0, 255};
// The velocity axis's zone boundaries and their labels: a teal that no
// curve, the grid or the readout uses, so a boundary is never taken for a
// reading.
inline const QColor kZoneMarkColor{0, 128, 128};

inline constexpr const char* kChartTitleChinese =
    QT_TRANSLATE_NOOP("orsan::TrendChart", "三轴振动温度实时趋势曲线");
inline const QString kChartTitleEnglish =
    QStringLiteral("Realtime Trend Plotting of Tri-Axis Vibration & Tempreature");

// "Arial" resolves to Liberation Sans (same metrics) through fontconfig;
// Chinese glyphs fall back to a CJK face.
inline QFont ChartFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setWeight(QFont::Normal);
    return font;
}

// A 14-pixel character cell (ascent + descent) of Arial is a 12-pixel em.
inline QFont ReadoutFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

}  // namespace orsan
