#include "DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

namespace orsan {

QFont DialogFont() {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Sans SC"),
                                 QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPixelSize(12);
    return font;
}

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    // The average width of the Latin letters, rounded, as dialog managers
    // compute their base unit.
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    baseWidth_ = (letters / 26 + 1) / 2;
    baseHeight_ = metrics.height();
    if (baseWidth_ <= 0) baseWidth_ = 6;
    if (baseHeight_ <= 0) baseHeight_ = 13;
}

int DialogUnits::X(int dluX) const { return dluX * baseWidth_ / 4; }
int DialogUnits::Y(int dluY) const { return dluY * baseHeight_ / 8; }

QRect DialogUnits::Rect(int x, int y, int width, int height) const {
    const int left = X(x);
    const int top = Y(y);
    return QRect(left, top, X(x + width) - left, Y(y + height) - top);
}

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }

}  // namespace orsan
