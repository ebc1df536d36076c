#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <ctime>

// Tests of widgets and pictures: one application for the whole run,
// offscreen unless the caller chose a platform, the station's name for
// message captions, and the same fixed UTC+8 zone as the core tests.
int main(int argc, char** argv) {
    setenv("TZ", "CST-8", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("OrsanSensorMonitor"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
