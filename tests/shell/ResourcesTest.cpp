#include <gtest/gtest.h>

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QSet>
#include <QTemporaryDir>

#include "QtPrinters.h"
#include "Resources.h"

namespace orsan {
namespace {

const QColor kKey(0, 255, 0);

int DistinctColours(const QImage& image) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) colours.insert(image.pixel(x, y));
    }
    return colours.size();
}

int VisiblePixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
    }
    return count;
}

TEST(Resources, EveryNumberRendersAVisiblePictureAtItsSize) {
    // The numbers the windows ask for: main window, panel and record page.
    const int wanted[] = {128, 130, 133, 135, 136, 137, 139, 140, 141, 143, 161, 163, 164};
    for (int id : wanted) {
        EXPECT_NE(std::find(ResourceIds().begin(), ResourceIds().end(), id), ResourceIds().end())
            << id;
    }
    for (int id : ResourceIds()) {
        const QSize size = ResourceSize(id);
        ASSERT_TRUE(size.isValid()) << id;
        const QImage image = ResourceImage(id);
        ASSERT_FALSE(image.isNull()) << id;
        EXPECT_EQ(image.size(), size) << id;
        // A drawing, not an empty or single-colour square.
        EXPECT_GT(VisiblePixels(image), size.width() * size.height() / 5) << id;
        EXPECT_GT(DistinctColours(image), 3) << id;
        EXPECT_EQ(ResourcePixmap(id).size(), size) << id;
        EXPECT_EQ(ResourcePixmap(id, QSize(40, 30)).size(), QSize(40, 30)) << id;
    }
    EXPECT_TRUE(ResourceImage(999).isNull());
    EXPECT_TRUE(ResourceIcon(999).isNull());
    EXPECT_FALSE(ResourceSize(999).isValid());
}

TEST(Resources, ButtonIconsAre16PixelsAndAllDifferent) {
    const int buttons[] = {136, 137, 139, 140, 141, 143, 161, 163, 164};
    QList<QImage> seen;
    for (int id : buttons) {
        EXPECT_EQ(ResourceSize(id), QSize(16, 16)) << id;
        const QIcon icon = ResourceIcon(id);
        ASSERT_FALSE(icon.isNull()) << id;
        const QImage image = icon.pixmap(QSize(16, 16)).toImage();
        EXPECT_EQ(image.size(), QSize(16, 16)) << id;
        for (const QImage& other : seen) {
            EXPECT_NE(image.convertToFormat(QImage::Format_ARGB32),
                      other.convertToFormat(QImage::Format_ARGB32))
                << id;
        }
        seen.append(image);
    }
    const QIcon window = ResourceIcon(kIconStation);
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window.pixmap(QSize(48, 48)).size(), QSize(48, 48));
}

TEST(Resources, TabStripIsNineOpaqueImagesOnTheGreenKey) {
    const QImage strip = ResourceImage(kBitmapTabImages);
    ASSERT_EQ(strip.size(), QSize(164, 18));
    QList<QImage> cells;
    for (int i = 0; i < 9; ++i) {
        const QImage cell = strip.copy(i * 18, 0, 18, 18);
        int key = 0;
        int drawn = 0;
        for (int y = 0; y < 18; ++y) {
            for (int x = 0; x < 18; ++x) {
                const QColor c = cell.pixelColor(x, y);
                EXPECT_EQ(c.alpha(), 255) << "cell " << i;
                (c == kKey ? key : drawn) += 1;
            }
        }
        EXPECT_GT(key, 18) << "cell " << i << " has a transparent border";
        EXPECT_GT(drawn, 18 * 18 / 3) << "cell " << i << " has a picture";
        for (const QImage& other : cells) EXPECT_NE(cell, other) << "cell " << i;
        cells.append(cell);
    }
}

// Centre of the pixels close to `colour`, and how many there are.
struct Blob {
    int count = 0;
    double x = 0;
    double y = 0;
    int top = 1 << 20;
};

Blob FindColour(const QImage& image, const QColor& colour) {
    Blob blob;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 250) continue;
            if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                    std::abs(c.blue() - colour.blue()) >
                30) {
                continue;
            }
            ++blob.count;
            blob.x += x;
            blob.y += y;
            blob.top = std::min(blob.top, y);
        }
    }
    if (blob.count > 0) {
        blob.x /= blob.count;
        blob.y /= blob.count;
    }
    return blob;
}

TEST(Resources, HousingShowsTheAxesInTheirColoursAndDirections) {
    const QImage housing = ResourceImage(kBitmapSensorHousing);
    ASSERT_EQ(housing.size(), QSize(176, 106));
    const Blob z = FindColour(housing, QColor(0xd6, 0x28, 0x28));
    const Blob x = FindColour(housing, QColor(0x2b, 0x93, 0x48));
    const Blob y = FindColour(housing, QColor(0x1d, 0x4e, 0xd8));
    const Blob t = FindColour(housing, QColor(0x7b, 0x2c, 0xbf));
    for (const Blob* blob : {&z, &x, &y, &t}) ASSERT_GT(blob->count, 20);
    // Z points up: red reaches the top of the picture, above the others.
    EXPECT_LT(z.top, 10);
    EXPECT_LT(z.y, x.y);
    EXPECT_LT(z.y, y.y);
    // X to the front right, Y to the front left.
    EXPECT_GT(x.x, y.x);
    EXPECT_GT(x.x, z.x);
    EXPECT_LT(y.x, z.x);
    // The temperature point sits low, on the front edge.
    EXPECT_GT(t.y, housing.height() * 0.7);
}

TEST(Resources, DefaultLogoAndDemoAreWrittenAsRealPngFiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Case {
        bool (*write)(const QString&);
        QImage (*image)();
        const char* name;
    };
    for (const Case& c : {Case{WriteDefaultLogo, DefaultLogoImage, "bq_logo.png"},
                          Case{WriteDemoPicture, DemoImage, "demo.png"}}) {
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(c.write(path)) << c.name;
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(8), QByteArray("\x89PNG\r\n\x1a\n", 8)) << c.name;
        file.close();
        const QImage loaded(path);
        ASSERT_FALSE(loaded.isNull()) << c.name;
        EXPECT_EQ(loaded.size(), c.image().size());
        EXPECT_EQ(loaded.convertToFormat(QImage::Format_ARGB32), c.image()) << c.name;
        // Over an existing file, and never into a missing folder.
        EXPECT_TRUE(c.write(path)) << c.name;
        EXPECT_FALSE(c.write(dir.filePath(QStringLiteral("missing/") + c.name))) << c.name;
    }
}

TEST(Resources, CommittedDemoPictureIsAReadablePng) {
    const QImage demo(QStringLiteral(ORSAN_RES_DIR "/demo.png"));
    ASSERT_FALSE(demo.isNull());
    EXPECT_EQ(demo.size(), DemoImage().size());
}

}  // namespace
}  // namespace orsan
