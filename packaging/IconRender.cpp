// orsan-icon-render: renders the application's SVG icon into the PNG sizes
// of the hicolor theme at build time, so the pictures always match the
// artwork they come from.
//
//   orsan-icon-render ICON.svg SIZE OUT.png [SIZE OUT.png ...]

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 4 || argc % 2 != 0) {
        std::fputs("usage: orsan-icon-render ICON.svg SIZE OUT.png [SIZE OUT.png ...]\n", stderr);
        return 2;
    }
    // Painting needs a GUI application but never a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "orsan-icon-render: cannot read %s\n", argv[1]);
        return 1;
    }
    for (int i = 2; i + 1 < argc; i += 2) {
        bool ok = false;
        const int size = QString::fromLocal8Bit(argv[i]).toInt(&ok);
        if (!ok || size < 1 || size > 1024) {
            std::fprintf(stderr, "orsan-icon-render: bad size %s\n", argv[i]);
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter, QRectF(0, 0, size, size));
        }
        const QString out = QString::fromLocal8Bit(argv[i + 1]);
        if (!QDir().mkpath(QFileInfo(out).absolutePath()) || !image.save(out, "PNG")) {
            std::fprintf(stderr, "orsan-icon-render: cannot write %s\n", argv[i + 1]);
            return 1;
        }
    }
    return 0;
}
