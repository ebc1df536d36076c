#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <QGuiApplication>

// Every test sees the same local zone (China Standard Time, no daylight
// saving) and renders text without a display.
int main(int argc, char** argv) {
    setenv("TZ", "CST-8", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
