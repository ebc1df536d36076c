#include "Resources.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>

#include "OutputFile.h"

namespace orsan {

namespace {

struct Picture {
    int id;
    const char* file;
    QSize size;
};

constexpr int kLogoId = -1;
constexpr int kDemoId = -2;

const Picture kPictures[] = {
    {kIconStation, ":/orsan/res/icon128_station.svg", {32, 32}},
    {kBitmapWiring, ":/orsan/res/bitmap130_wiring.svg", {240, 110}},
    {kBitmapTabImages, ":/orsan/res/bitmap133_tab_images.svg", {164, 18}},
    {kBitmapSensorHousing, ":/orsan/res/bitmap135_sensor_housing.svg", {176, 106}},
    {kIconSetInterval, ":/orsan/res/icon136_set_interval.svg", {16, 16}},
    {kIconExportText, ":/orsan/res/icon137_export_text.svg", {16, 16}},
    {kIconExportPicture, ":/orsan/res/icon139_export_picture.svg", {16, 16}},
    {kIconAxisRange, ":/orsan/res/icon140_axis_range.svg", {16, 16}},
    {kIconClear, ":/orsan/res/icon141_clear.svg", {16, 16}},
    {kIconSetAddresses, ":/orsan/res/icon143_set_addresses.svg", {16, 16}},
    {kIconCurveVisibility, ":/orsan/res/icon161_curve_visibility.svg", {16, 16}},
    {kIconConfigureSensor, ":/orsan/res/icon163_configure_sensor.svg", {16, 16}},
    {kIconReadWaveform, ":/orsan/res/icon164_read_waveform.svg", {16, 16}},
    {kLogoId, ":/orsan/res/logo.svg", {120, 90}},
    {kDemoId, ":/orsan/res/demo.svg", {160, 120}},
};

const Picture* Find(int id) {
    for (const Picture& picture : kPictures) {
        if (picture.id == id) return &picture;
    }
    return nullptr;
}

QImage Render(const Picture& picture, QSize size) {
    if (size.isEmpty()) size = picture.size;
    QSvgRenderer renderer{QString::fromLatin1(picture.file)};
    if (!renderer.isValid()) return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

// The strip is used with green as its transparent colour on the yellow tabs:
// empty pixels become pure green, anti-aliased edges are settled on yellow so
// no green fringe survives the mask.
QImage KeyedOnGreen(const QImage& image) {
    const QColor key(0, 255, 0);
    const QColor behind(255, 255, 0);
    QImage keyed(image.size(), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() == 0) {
                keyed.setPixelColor(x, y, key);
                continue;
            }
            const double a = c.alphaF();
            QColor out(int(c.red() * a + behind.red() * (1 - a) + 0.5),
                       int(c.green() * a + behind.green() * (1 - a) + 0.5),
                       int(c.blue() * a + behind.blue() * (1 - a) + 0.5));
            if (out == key) out.setGreen(254);  // never the key by accident
            keyed.setPixelColor(x, y, out);
        }
    }
    return keyed;
}

bool SavePng(const QImage& image, const QString& path) {
    if (image.isNull()) return false;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG")) return false;
    std::string error;
    return WriteOutputFile(QFile::encodeName(path).toStdString(),
                           std::string_view(png.constData(), size_t(png.size())), error);
}

}  // namespace

const std::vector<int>& ResourceIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> all;
        for (const Picture& picture : kPictures) {
            if (picture.id > 0) all.push_back(picture.id);
        }
        return all;
    }();
    return ids;
}

QSize ResourceSize(int id) {
    const Picture* picture = id > 0 ? Find(id) : nullptr;
    return picture ? picture->size : QSize();
}

QImage ResourceImage(int id, QSize size) {
    const Picture* picture = id > 0 ? Find(id) : nullptr;
    if (!picture) return {};
    QImage image = Render(*picture, size);
    if (id == kBitmapTabImages && !image.isNull()) image = KeyedOnGreen(image);
    return image;
}

QPixmap ResourcePixmap(int id, QSize size) {
    return QPixmap::fromImage(ResourceImage(id, size));
}

QIcon ResourceIcon(int id) {
    const Picture* picture = id > 0 ? Find(id) : nullptr;
    if (!picture || id == kBitmapTabImages) return {};
    QIcon icon;
    const std::vector<int> sides =
        id == kIconStation ? std::vector<int>{16, 24, 32, 48, 64} : std::vector<int>{16, 32};
    for (int side : sides) icon.addPixmap(ResourcePixmap(id, QSize(side, side)));
    return icon;
}

QImage DefaultLogoImage() {
    return Render(*Find(kLogoId), {});
}
QImage DemoImage() {
    return Render(*Find(kDemoId), {});
}

bool WriteDefaultLogo(const QString& path) {
    return SavePng(DefaultLogoImage(), path);
}
bool WriteDemoPicture(const QString& path) {
    return SavePng(DemoImage(), path);
}

}  // namespace orsan
