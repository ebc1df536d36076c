#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>

#include "DXPNGCTL.h"

namespace orsan {
namespace {

// Left half red, right half blue: a stretch keeps the halves where they were.
QImage TwoHalves(QColor left, QColor right) {
    QImage image(4, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) image.setPixelColor(x, y, x < 2 ? left : right);
    }
    return image;
}

// What the control shows, painted over a green background.
QImage Shown(DXPNGCTL& control) {
    QImage shot(control.size(), QImage::Format_RGB32);
    shot.fill(Qt::green);
    control.render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
    return shot;
}

TEST(PictureControl, StretchesTheFileAndRereadsItAtEveryPaint) {
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.png");
    DXPNGCTL control;
    control.resize(120, 60);
    control.setAttribute(Qt::WA_NoSystemBackground);
    struct Step {
        const char* what;
        std::function<void()> change;
        QColor left, right;  // green: nothing drawn
    };
    const Step steps[] = {
        {"missing file", [] {}, Qt::green, Qt::green},
        {"picture", [&] { ASSERT_TRUE(TwoHalves(Qt::red, Qt::blue).save(path, "PNG")); }, Qt::red,
         Qt::blue},
        {"replaced", [&] { ASSERT_TRUE(TwoHalves(Qt::blue, Qt::red).save(path, "PNG")); }, Qt::blue,
         Qt::red},
        {"not a picture",
         [&] {
             QFile f(path);
             ASSERT_TRUE(f.open(QIODevice::WriteOnly));
             f.write("no PNG here");
         },
         Qt::green, Qt::green},
        {"removed", [&] { QFile::remove(path); }, Qt::green, Qt::green},
    };
    control.SetImagePath(path);
    EXPECT_EQ(control.ImagePath(), path);
    for (const Step& step : steps) {
        step.change();
        const QImage shot = Shown(control);
        // Sample well inside each half, away from the smoothing at the seam.
        EXPECT_EQ(shot.pixelColor(10, 30), step.left) << step.what;
        EXPECT_EQ(shot.pixelColor(110, 30), step.right) << step.what;
        EXPECT_EQ(shot.pixelColor(119, 59), step.right) << step.what << " (corner reached)";
    }
}

}  // namespace
}  // namespace orsan
