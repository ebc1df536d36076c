#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace orsan {

// The font every dialog of the station uses (12 px, like a 9 pt dialog font
// at 96 dpi), with a CJK face for the Chinese captions.
QFont DialogFont();

// Converts dialog-unit layouts to pixels through the dialog font's metrics:
// x * average char width / 4, y * char height / 8.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font = DialogFont());

    int X(int dluX) const;
    int Y(int dluY) const;
    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;

    int BaseWidth() const { return baseWidth_; }
    int BaseHeight() const { return baseHeight_; }

private:
    int baseWidth_;
    int baseHeight_;
};

}  // namespace orsan
