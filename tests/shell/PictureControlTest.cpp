#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <functional>

#include "DXPNGCTL.h"

namespace orsan {
namespace {

// The picture file is stretched over the control and read again at every
// paint; a missing or undecodable file leaves the background (green here).
TEST(PictureControl, StretchesTheFileAndRereadsItAtEveryPaint) {
    QTemporaryDir dir;
    const QString path = dir.filePath("logo.png");
    DXPNGCTL control;
    control.resize(120, 60);
    control.SetImagePath(path);
    const auto halves = [&](QColor left, QColor right) {
        QImage image(4, 2, QImage::Format_RGB32);
        for (int x = 0; x < 4; ++x)
            for (int y = 0; y < 2; ++y) image.setPixelColor(x, y, x < 2 ? left : right);
        ASSERT_TRUE(image.save(path, "PNG"));
    };
    const struct {
        std::function<void()> change;
        QColor left, right;
    } steps[] = {
        {[] {}, Qt::green, Qt::green},  // no file yet
        {[&] { halves(Qt::red, Qt::blue); }, Qt::red, Qt::blue},
        {[&] { halves(Qt::blue, Qt::red); }, Qt::blue, Qt::red},
        {[&] { QFile::resize(path, 10); }, Qt::green, Qt::green},  // no longer a PNG
    };
    for (const auto& step : steps) {
        step.change();
        QImage shot(control.size(), QImage::Format_RGB32);
        shot.fill(Qt::green);
        control.render(&shot, QPoint(), QRegion(), QWidget::DrawChildren);
        EXPECT_EQ(shot.pixelColor(10, 30), step.left);
        EXPECT_EQ(shot.pixelColor(119, 59), step.right);  // the far corner is reached
    }
}

}  // namespace
}  // namespace orsan
