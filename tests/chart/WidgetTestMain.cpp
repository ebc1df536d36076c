#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <QApplication>

// Widgets run offscreen in the UTC+8 zone without daylight saving.
int main(int argc, char** argv) {
    setenv("TZ", "CST-8", 1);
    tzset();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
