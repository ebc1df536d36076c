#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include "Resources.h"

// The headless station has only a QCoreApplication; it still writes the
// default logo into a fresh data folder.
namespace orsan {
namespace {

TEST(HeadlessPictures, LogoAndDemoWrittenWithoutAGuiApplication) {
    ASSERT_EQ(
        qobject_cast<QCoreApplication*>(QCoreApplication::instance())->metaObject()->className(),
        QStringLiteral("QCoreApplication"));
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString logo = dir.filePath(QStringLiteral("bq_logo.png"));
    const QString demo = dir.filePath(QStringLiteral("demo.png"));
    ASSERT_TRUE(WriteDefaultLogo(logo));
    ASSERT_TRUE(WriteDemoPicture(demo));
    for (const QString& path : {logo, demo}) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.read(4), QByteArray("\x89PNG", 4));
    }
    const QImage loaded(logo);
    ASSERT_FALSE(loaded.isNull());
    EXPECT_EQ(loaded.size(), DefaultLogoImage().size());
    EXPECT_FALSE(ResourceImage(kBitmapSensorHousing).isNull());
}

}  // namespace
}  // namespace orsan
